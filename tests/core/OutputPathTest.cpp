#include "core/produce/OutputPath.h"

#include "core/store/DataPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace cs42 {
namespace {

class OutputPath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_paths = DataPaths::forWorkingDirectory(m_dir.path());
        ASSERT_TRUE(QDir().mkpath(m_paths.vtrFormsDir()));
    }

    void write(const QString& path, const QByteArray& content) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString problem(const QString& path) const
    {
        return outputPathProblem(path, producedFormProtectedFiles(m_paths));
    }

    QTemporaryDir m_dir;
    DataPaths m_paths;
};

TEST_F(OutputPath, RefusesEveryDataFileBackupAndDocumentOfTheProgram)
{
    const QString vtr = m_paths.vtrFormsDir();
    // The cases database exists, as it does after start-up; the others need not.
    write(m_paths.casesDbPath(), "SQLite format 3");
    ASSERT_EQ(QDir(vtr).entryList(QDir::Files).size(), 1);

    QStringList refused = producedFormProtectedFiles(m_paths);
    EXPECT_EQ(refused.size(), 19);                   // with the two older generations each restore keeps
    refused << vtr + QStringLiteral("/quondata.mdb") // another case
            << vtr + QStringLiteral("/../VTRForms/./QUONDATA.MDB") // another spelling
            << vtr + QStringLiteral("/Names_backup.mdb") << vtr + QStringLiteral("/quon42.pdf");
    ASSERT_TRUE(QFile::link(m_paths.casesDbPath(), m_dir.filePath(QStringLiteral("link.pdf"))));
    refused << m_dir.filePath(QStringLiteral("link.pdf"));
    for (const QString& path : refused) {
        const QString text = problem(path);
        EXPECT_EQ(text,
                  QStringLiteral("The form was not saved as '") + path +
                      QStringLiteral("', because that is one of the program's own files, which a "
                                     "produced form must never replace."))
            << path.toStdString();
    }
}

TEST_F(OutputPath, RefusesWhatIsNoFileAndAFileThatIsNoPdf)
{
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {folder, fifo, QStringLiteral("/dev/null"), QStringLiteral("/dev/full")}) {
        EXPECT_EQ(problem(path),
                  QStringLiteral("The form was not saved as '") + path +
                      QStringLiteral("', because that is not a file but a folder, a device or a pipe."))
            << path.toStdString();
    }

    const QString text = m_dir.filePath(QStringLiteral("letter.pdf"));
    write(text, "Dear Judge,");
    const QString empty = m_dir.filePath(QStringLiteral("empty.pdf"));
    write(empty, "");
    for (const QString& path : {text, empty}) {
        EXPECT_EQ(problem(path),
                  QStringLiteral("The form was not saved as '") + path +
                      QStringLiteral("', because a file that is not a PDF file already has that name; it "
                                     "was left as it was."))
            << path.toStdString();
    }
}

TEST_F(OutputPath, AcceptsANewFileAndAnEarlierForm)
{
    EXPECT_EQ(problem(m_paths.producedFormPath()), QString());
    write(m_paths.producedFormPath(), "%PDF-1.7\n...");
    EXPECT_EQ(problem(m_paths.producedFormPath()), QString());
    EXPECT_EQ(problem(m_dir.filePath(QStringLiteral("no-such-folder/out.pdf"))), QString())
        << "a missing folder is for saving to report";
}

} // namespace
} // namespace cs42
