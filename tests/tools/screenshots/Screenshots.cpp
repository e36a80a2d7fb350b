// Writes the pictures of the windows used in the documentation. A program, not a test: it checks
// nothing the window tests do not, so it is built but not registered with ctest. Run it headless
// with the folder to write to:
//
//   QT_QPA_PLATFORM=offscreen build/tests/cs42-screenshots docs/screenshots
//
// The worksheet pictures come first: they are taken in the default application font, the shell,
// names and preview pictures in the program's own font.

#include "NamesFixture.h"
#include "ShellFixture.h"
#include "WorksheetFixture.h"
#include "core/explain/Explanation.h"
#include "core/names/NameStore.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/ScheduleCsv.h"
#include "ui/explain/CalcMessageWindow.h"
#include "ui/names/Names.h"
#include "ui/produce/PdfPreview.h"
#include "ui/produce/ProducingFormBox.h"
#include "ui/shell/Background.h"
#include "ui/shell/Location.h"
#include "ui/shell/QtInteraction.h"
#include "ui/shell/ServerDialog.h"
#include "ui/worksheet/FormCS42.h"
#include "ui/worksheet/GetCcare.h"
#include "ui/worksheet/GetChA.h"
#include "ui/worksheet/GetIns.h"
#include "ui/worksheet/GetPreAlimony.h"
#include "ui/worksheet/GetResp.h"
#include "ui/worksheet/Income.h"
#include "ui/worksheet/OverRide.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <memory>

using namespace cs42;
using namespace cs42::test;

// Run through QTest so that the fixtures' checks stop a picture that could not be set up.
class Screenshots : public QObject
{
    Q_OBJECT

public:
    explicit Screenshots(QString folder)
        : m_folder(std::move(folder))
    {}

private:
    QString m_folder;

    // The court, the parties and two children of every pictured case.
    static ColumnValues sampleParties()
    {
        return {
            {QStringLiteral("courttype"), QStringLiteral("Circuit")},
            {QStringLiteral("county"), QStringLiteral("Jefferson")},
            {QStringLiteral("courtfile"), QStringLiteral("DR-2024-000123.00")},
            {QStringLiteral("name1name"), QStringLiteral("Doe, Jane A.")},
            {QStringLiteral("name2name"), QStringLiteral("Roe, Richard B.")},
            {QStringLiteral("child1name"), QStringLiteral("Ann Roe")},
            {QStringLiteral("child1dob"), QStringLiteral("03/07/2012")},
            {QStringLiteral("child2name"), QStringLiteral("Ben Roe")},
            {QStringLiteral("child2dob"), QStringLiteral("11/21/2015")},
        };
    }

    // Whether a picture shows the keyboard's place: a dialog opens with its box focused, as the user
    // finds it; the worksheet is pictured without the frame of its focused entry, unless that frame
    // is what the picture is of.
    enum class Focus
    {
        Shown,
        Cleared,
    };

    void shoot(QWidget& widget, const QString& name, Focus focus = Focus::Shown)
    {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        if (focus == Focus::Cleared) {
            if (QWidget* focused = widget.focusWidget())
                focused->clearFocus();
        }
        QTest::qWait(50);
        QVERIFY(widget.grab().save(QDir(m_folder).filePath(QStringLiteral("worksheet-%1.png").arg(name))));
        widget.hide();
    }

    // A window as the desktop draws it: a title bar over its picture, a border and a shadow.
    static QImage framed(const QPixmap& window, const QString& title)
    {
        constexpr int titleHeight = 26;
        constexpr int shadow = 6;
        QImage picture(window.width() + 2 + shadow,
                       window.height() + titleHeight + 2 + shadow,
                       QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.fillRect(QRect(shadow, shadow, picture.width() - shadow, picture.height() - shadow),
                         QColor(0, 0, 0, 60));
        const QRect outline(0, 0, window.width() + 2, window.height() + titleHeight + 2);
        painter.fillRect(outline, QColor(0x3a, 0x5f, 0x8f));
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(
            QRect(10, 1, window.width() - 10, titleHeight), Qt::AlignVCenter | Qt::AlignLeft, title);
        painter.drawPixmap(1, titleHeight + 1, window);
        return picture;
    }

private slots:

    void worksheetOfAFilledCase()
    {
        WorksheetFixture data;
        const ColumnValues filled =
            sampleParties() +
            ColumnValues{
                {QStringLiteral("child4name"), QStringLiteral("Cleo Roe")},
                {QStringLiteral("child4dob"), QStringLiteral("05/01/2019")},
                {QStringLiteral("pinc"), QStringLiteral("3000")},
                {QStringLiteral("dinc"), QStringLiteral("2510")},
                {QStringLiteral("dpre"), QStringLiteral("250")},
                {QStringLiteral("presp"), QStringLiteral("250.00")},
                {QStringLiteral("childcare"), QStringLiteral("200")},
                {QStringLiteral("healthins"), QStringLiteral("100")},
                {QStringLiteral("payshealth"), QStringLiteral("D")},
                {QStringLiteral("whosecustody"), QStringLiteral("P")},
                {QStringLiteral("textblock1"),
                 QStringLiteral(
                     "Incomes from the parties' 2023 tax returns. Child care at the licensed rate of the "
                     "county's schedule.")},
                {QStringLiteral("preparedby"), QStringLiteral("A. Clerk, for the Plaintiff")},
                {QStringLiteral("datesigned"), QStringLiteral("03/15/2024")},
            };
        data.setStored(filled);
        FormCS42 form(data.session, data.host);
        shoot(form, QStringLiteral("filled-highlighted"), Focus::Cleared);
        data.session.highlightColorIndex = 15;
        form.ChangeFieldColors();
        shoot(form, QStringLiteral("filled-plain"), Focus::Cleared);

        // The keyboard's place: the plaintiff's income, framed, as Tab and the arrows reach it.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* income = form.findChild<QLabel*>(QStringLiteral("lblP1"));
        QVERIFY(income != nullptr);
        income->setFocus(Qt::TabFocusReason);
        QVERIFY(income->hasFocus());
        shoot(form, QStringLiteral("focused"));

        data.setStored({{QStringLiteral("override"), QStringLiteral("Y")},
                        {QStringLiteral("overamount"), QStringLiteral("612")}});
        data.session.highlightColorIndex = 14;
        form.ChangeFieldColors();
        form.RecalculateWorksheet();
        shoot(form, QStringLiteral("override"), Focus::Cleared);

        // Every warning at once: no schedule rows, a child-care amount that cannot be used, the
        // plaintiff's deductions above her income and her insurance credit above her share, no child.
        data.setStored({{QStringLiteral("override"), QStringLiteral("N")},
                        {QStringLiteral("pinc"), QStringLiteral("100")},
                        {QStringLiteral("ppre"), QStringLiteral("150")},
                        {QStringLiteral("presp"), QString()},
                        {QStringLiteral("childcare"), QString(400, u'9')},
                        {QStringLiteral("payshealth"), QStringLiteral("P")},
                        {QStringLiteral("whosecustody"), QStringLiteral("D")}});
        for (int i = 1; i <= 6; ++i)
            data.setStored({{QStringLiteral("child%1name").arg(i), QString()}});
        const QString schedule = data.session.paths.scheduleDbPath();
        SqlConnection(schedule).exec(QStringLiteral("CREATE TABLE Kept AS SELECT * FROM Schedule"));
        SqlConnection(schedule).exec(QStringLiteral("DELETE FROM Schedule"));
        form.RecalculateWorksheet();
        shoot(form, QStringLiteral("warnings"), Focus::Cleared);
        SqlConnection(schedule).exec(QStringLiteral("INSERT INTO Schedule SELECT * FROM Kept"));
        data.setStored(filled);
        data.setStored({{QStringLiteral("override"), QStringLiteral("Y")}});
        form.RecalculateWorksheet();

        const QString text = generateExplanation(form.displayedCaptions(),
                                                 form.worksheet()->result.childCount,
                                                 form.worksheet()->result.lookup,
                                                 data.session.today());
        CalcMessageWindow explanation(text, data.interaction);
        shoot(explanation, QStringLiteral("explanation"));

        GetResp resp(QStringLiteral("Plaintiff's Monthly Income"),
                     QStringLiteral("602"),
                     QStringLiteral("3010"),
                     QStringLiteral("2"),
                     data.session.paths.scheduleDbPath());
        shoot(resp, QStringLiteral("dialog-getresp"));

        ChildrenInfo children;
        children[0] = {QStringLiteral("Ann Roe"), QStringLiteral("03/07/2012")};
        children[1] = {QStringLiteral("Ben Roe"), QStringLiteral("11/21/2015")};
        GetChA chA(children, data.interaction, data.session.today());
        shoot(chA, QStringLiteral("dialog-getcha"));
    }

    // A case on form CS-42 (Rev. 5/2022), with the court's schedule of 2022.
    void worksheetOfA2022Case()
    {
        WorksheetFixture data;
        QFile::copy(QStringLiteral(FORMS_DIR "/CS42_2022.PDF"),
                    data.session.paths.formTemplatePath(QStringLiteral("CS42_2022.PDF")));
        QFile csv(QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QString error;
        const auto rows = ScheduleCsv::parse(csv.readAll(), &error, FormEditions::cs42Rev0522().rules);
        QVERIFY2(rows, qPrintable(error));
        QVERIFY(ScheduleCsv::replaceRows(
            data.session.paths.scheduleDbPath(), *rows, &error, QStringLiteral("Schedule2022")));
        data.setStored(sampleParties());
        data.setStored({
            {QStringLiteral("formedition"), QStringLiteral("2022")},
            {QStringLiteral("pinc"), QStringLiteral("5200")},
            {QStringLiteral("ppre"), QStringLiteral("400")},
            {QStringLiteral("presp"), QStringLiteral("300")},
            {QStringLiteral("dinc"), QStringLiteral("2600.50")},
            {QStringLiteral("dpre"), QStringLiteral("200")},
            {QStringLiteral("dchildcare"), QStringLiteral("350")},
            {QStringLiteral("phealthins"), QStringLiteral("150")},
            {QStringLiteral("whosecustody"), QStringLiteral("P")},
            {QStringLiteral("textblock1"), QStringLiteral("Incomes from the parties' 2023 tax returns.")},
            {QStringLiteral("preparedby"), QStringLiteral("A. Clerk, for the Plaintiff")},
            {QStringLiteral("datesigned"), QStringLiteral("03/15/2024")},
        });
        FormCS42 form(data.session, data.host);
        shoot(form, QStringLiteral("2022-filled"), Focus::Cleared);
        // Above the schedule: line 4 is the court's, entered as the override.
        data.setStored({{QStringLiteral("pinc"), QStringLiteral("31000")}});
        form.RecalculateWorksheet();
        shoot(form, QStringLiteral("2022-above-schedule"), Focus::Cleared);

        // The same parents sharing physical custody equally, on form CS-42-S.
        QFile::copy(QStringLiteral(FORMS_DIR "/CS42S_2023.PDF"),
                    data.session.paths.formTemplatePath(QStringLiteral("CS42S_2023.PDF")));
        data.setStored({{QStringLiteral("formedition"), QStringLiteral("2023S")},
                        {QStringLiteral("pinc"), QStringLiteral("5200")}});
        FormCS42 shared(data.session, data.host);
        shoot(shared, QStringLiteral("2023s-filled"), Focus::Cleared);
    }

    void dialogs()
    {
        Income income(QStringLiteral("Plaintiff's Monthly Income"), QStringLiteral("3000"));
        shoot(income, QStringLiteral("dialog-income"));
        GetPreAlimony alimony(QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment"),
                              QStringLiteral("251"));
        shoot(alimony, QStringLiteral("dialog-getprealimony"));
        GetCcare care(QStringLiteral("Work Related Child Care"), QStringLiteral("200"));
        shoot(care, QStringLiteral("dialog-getccare"));
        GetIns ins(QStringLiteral("Health Insurance"), QStringLiteral("46"));
        shoot(ins, QStringLiteral("dialog-getins"));
        OverRide over(QStringLiteral("Y"), QStringLiteral("612"));
        shoot(over, QStringLiteral("dialog-override"));
        ProducingFormBox notice;
        shoot(notice, QStringLiteral("produce-notice"));
    }

    // An amount the income dialog refuses, with the program's own message box over the dialog: the
    // text stays in the box as typed and nothing is stored until it is put right.
    void inputError()
    {
        QtInteraction interaction;
        Income income(QStringLiteral("Plaintiff's Monthly Income"), QStringLiteral("3000"));
        income.setAmountCheck(interaction, {});
        income.show();
        QVERIFY(QTest::qWaitForWindowExposed(&income));
        QApplication::setActiveWindow(&income);
        QVERIFY(QTest::qWaitForWindowActive(&income));
        auto* box = income.findChild<QLineEdit*>(QStringLiteral("Text1"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("12abc"));

        QImage picture;
        auto message = onNextModal([&](QWidget* shown) {
            auto* messageBox = qobject_cast<QMessageBox*>(shown);
            QVERIFY(messageBox != nullptr);
            QTest::qWait(50);
            const QImage dialog = framed(income.grab(), income.windowTitle());
            const QImage told = framed(messageBox->grab(), messageBox->windowTitle());
            // The message over the foot of the dialog, so that the box and its button are seen.
            constexpr int margin = 24;
            const QPoint dialogAt(margin, margin);
            const QPoint toldAt(dialogAt.x() + 40, dialogAt.y() + dialog.height() - 16);
            picture = QImage(qMax(dialogAt.x() + dialog.width(), toldAt.x() + told.width()) + margin,
                             toldAt.y() + told.height() + margin,
                             QImage::Format_ARGB32_Premultiplied);
            picture.fill(QColor(0xd9, 0xde, 0xe4));
            QPainter painter(&picture);
            painter.drawImage(dialogAt, dialog);
            painter.drawImage(toldAt, told);
            messageBox->accept();
        });
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY_ANSWERED(message);
        QVERIFY2(income.isVisible(), "the income dialog took the amount");
        QCOMPARE(box->text(), QStringLiteral("12abc"));
        QVERIFY(!picture.isNull());
        QVERIFY(picture.save(QDir(m_folder).filePath(QStringLiteral("input-error.png"))));
    }

    void shell()
    {
        Background::applyProgramFont(*qApp);
        auto m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showSplash();
        auto grab = [&](const QString& name) {
            QTest::qWait(200);
            QVERIFY(m_shell->background->grab().save(QDir(m_folder).filePath(name)));
        };
        grab(QStringLiteral("shell-splash.png"));

        QTest::mouseClick(m_shell->control("Image1"), Qt::LeftButton);
        grab(QStringLiteral("shell-case-library-first-start.png"));

        const CaseStore store(m_shell->session.paths.casesDbPath());
        for (const char* name : {"Doe, John vs. Jane",
                                 "Roe v. Roe",
                                 "Smith, Anna v. Smith, Robert",
                                 "O'Brien v. Müller",
                                 "Johnson-Whitfield, Bartholomew v. Smith"})
            store.addCase(QString::fromUtf8(name), QDate(2024, 3, 15));
        m_shell->background->showCaseLibrary();
        grab(QStringLiteral("shell-case-library.png"));

        for (const char* name : {"Network Share", "Office Files", "Archive"})
            QDir(m_shell->dir.path()).mkpath(QLatin1String(name));
        m_shell->item("menuLocation")->trigger();
        m_shell->hosted<Location>()->setFolder(m_shell->dir.path());
        grab(QStringLiteral("shell-location.png"));

        // The server dialog as it opens on a workstation whose cases are on the office's server.
        m_shell->session.paths.filesLocation =
            QStringLiteral("postgresql://clerk@db.office.example:5432/cs42");
        ServerDialog server(m_shell->session, m_shell->hosted<Location>());
        server.show();
        QVERIFY(QTest::qWaitForWindowExposed(&server));
        QTest::qWait(200);
        QVERIFY(server.grab().save(QDir(m_folder).filePath(QStringLiteral("location-server.png"))));
    }

    void namesAdmin()
    {
        Background::applyProgramFont(*qApp);
        NamesFixture names;
        names.add(QStringLiteral("Maria"), QStringLiteral("Garcia-Lopez"));
        names.add(QStringLiteral("Robert"), QStringLiteral("Smith"));
        Background background(names.session);
        background.show();
        background.showNamesAdmin();
        QTest::qWait(200);
        QVERIFY(background.grab().save(QDir(m_folder).filePath(QStringLiteral("names-admin.png"))));
    }

    void names()
    {
        Background::applyProgramFont(*qApp);
        NamesFixture names;
        names.add(QStringLiteral("Maria"), QStringLiteral("Garcia-Lopez"));
        names.add({}, {}, QStringLiteral("Montgomery County Department of Human Resources"));
        const QString key = names.add(QStringLiteral("Robert"), QStringLiteral("Smith"));
        QHash<QString, QString> boxes = NameStore(names.session.paths.namesDbPath()).load(key)->values();
        boxes.insert(QStringLiteral("street"), QStringLiteral("412 Dexter Avenue"));
        boxes.insert(QStringLiteral("street2"), QStringLiteral("Apt. 3"));
        boxes.insert(QStringLiteral("city"), QStringLiteral("Montgomery"));
        boxes.insert(QStringLiteral("namestate"), QStringLiteral("AL"));
        boxes.insert(QStringLiteral("zipcode"), QStringLiteral("36104"));
        boxes.insert(QStringLiteral("namecounty"), QStringLiteral("Montgomery"));
        boxes.insert(QStringLiteral("wphone"), QStringLiteral("334-555-0147"));
        boxes.insert(QStringLiteral("birthdate"), QStringLiteral("04/12/1981"));
        boxes.insert(QStringLiteral("employer"), QStringLiteral("River Region Freight"));
        boxes.insert(QStringLiteral("notes"), QStringLiteral("Prefers contact by mail."));
        NameStore(names.session.paths.namesDbPath()).saveFields(key, boxes);

        auto window = std::make_unique<Names>(names.session, QStringLiteral("Select Name of Defendant"), key);
        window->show();
        QTest::qWait(200);
        QVERIFY(window->grab().save(QDir(m_folder).filePath(QStringLiteral("names-narrow.png"))));
        QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        child(window.get(), "Text5")->setFocus();
        QTest::qWait(200);
        QVERIFY(window->grab().save(QDir(m_folder).filePath(QStringLiteral("names-wide.png"))));
    }

    // A produced form in the program's preview, as "Produce Worksheet" shows it.
    void producedFormPreview()
    {
        Background::applyProgramFont(*qApp);
        WorksheetFixture data;
        data.setStored(sampleParties());
        data.setStored({
            {QStringLiteral("pinc"), QStringLiteral("3000")},
            {QStringLiteral("dinc"), QStringLiteral("2510")},
            {QStringLiteral("childcare"), QStringLiteral("200")},
            {QStringLiteral("healthins"), QStringLiteral("100")},
            {QStringLiteral("payshealth"), QStringLiteral("D")},
            {QStringLiteral("whosecustody"), QStringLiteral("P")},
            {QStringLiteral("preparedby"), QStringLiteral("A. Clerk, for the Plaintiff")},
            {QStringLiteral("datesigned"), QStringLiteral("03/15/2024")},
        });
        FormCS42 form(data.session, data.host);
        bool shown = false;
        data.interaction.onShowDocument = [&](QWidget*, const QString& path, const PreviewOptions& options) {
            PdfPreview preview(path, options, data.interaction);
            if (!preview.load())
                return false;
            preview.resize(760, 900);
            preview.show();
            if (!QTest::qWaitForWindowExposed(&preview))
                return false;
            QTest::qWait(300);
            shown = preview.grab().save(QDir(m_folder).filePath(QStringLiteral("preview.png")));
            return true;
        };
        auto notice = onNextModal([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        form.ProduceForm();
        QVERIFY_ANSWERED(notice);
        QVERIFY2(shown, "the preview was not shown");
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    Screenshots shots(folder);
    char* testArgs[] = {argv[0]};
    return QTest::qExec(&shots, 1, testArgs);
}

#include "Screenshots.moc"
