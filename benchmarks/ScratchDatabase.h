#pragma once

// A database of a benchmark's own on the office server that CS42_BENCH_PG_URI names.

#include "core/store/ServerLocation.h"
#include "core/store/SqlConnection.h"

#include <QCoreApplication>

#include <cstdio>

namespace cs42::bench {

// A database of the benchmark's own on the server that CS42_BENCH_PG_URI names, made beside the
// database named there and dropped again: the figures never write into an office's cases.
class ScratchDatabase
{
public:
    explicit ScratchDatabase(const QString& serverUri)
    {
        const std::optional<ServerLocation> named = ServerLocation::fromUri(serverUri);
        if (!named)
            qFatal("%s=%s is not a postgresql://user@host:port/database address",
                   "CS42_BENCH_PG_URI",
                   qPrintable(serverUri));
        m_adminUri = named->toUri();
        ServerLocation scratch = *named;
        scratch.database = QStringLiteral("cs42_bench_%1").arg(QCoreApplication::applicationPid());
        m_name = scratch.database;
        m_uri = scratch.toUri();
        QString error;
        if (!run(QStringLiteral("CREATE DATABASE %1").arg(m_name), error))
            qFatal("cannot make the scratch database %s on %s (the role needs CREATEDB; PGPASSFILE must "
                   "hold its password): %s",
                   qPrintable(m_name),
                   qPrintable(m_adminUri),
                   qPrintable(error));
    }

    ~ScratchDatabase()
    {
        QString error;
        if (!run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name), error))
            std::fprintf(stderr,
                         "could not drop the scratch database %s on %s: %s\n",
                         qPrintable(m_name),
                         qPrintable(m_adminUri),
                         qPrintable(error));
    }

    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const QString& uri() const { return m_uri; }

private:
    bool run(const QString& sql, QString& error) const
    {
        SqlConnection admin(m_adminUri);
        if (admin.isOpen() && admin.exec(sql))
            return true;
        error = admin.errorText();
        return false;
    }

    QString m_adminUri;
    QString m_name;
    QString m_uri;
};

} // namespace cs42::bench
