#pragma once

// Runs batches on a fresh engine and shows outcomes as text, so table-driven tests can
// compare them with QCOMPARE.

#include "Engine.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <memory>

namespace EngineFixture {

inline QString text(const simserver::Value &value)
{
    if (!value)
        return "NULL";
    if (const auto *integer = std::get_if<std::int64_t>(&*value))
        return QString::number(*integer);
    if (const auto *real = std::get_if<double>(&*value))
        return QString::number(*real);
    return QString::fromStdString(std::get<std::string>(*value));
}

inline QStringList columnNames(const simserver::ResultSet &result)
{
    QStringList names;
    for (const auto &column : result.columns)
        names << QString::fromStdString(column.name);
    return names;
}

inline QStringList columnValues(const simserver::ResultSet &result, int column)
{
    QStringList values;
    for (const auto &row : result.rows)
        values << text(row.at(std::size_t(column)));
    return values;
}

inline QString errorText(const simserver::StatementOutcome &outcome)
{
    return outcome.error ? QString::number(outcome.error->number) + " " + QString::fromStdString(outcome.error->message)
                         : QString();
}

struct Server {
    explicit Server(simserver::Persona persona, bool deterministic = false, std::string logFile = {})
        : engine(simserver::EngineOptions{persona, {}, std::move(logFile), deterministic}),
          session(engine.openSession(42, "sa", "master"))
    {
    }

    simserver::BatchOutcome run(const QString &batch) { return session->execute(batch.toStdString(), {}); }

    // The outcome of `batch`, which must hold one statement (else an error numbered -1).
    simserver::StatementOutcome single(const QString &batch)
    {
        auto outcome = run(batch);
        if (outcome.statements.size() == 1)
            return outcome.statements.front();
        simserver::StatementOutcome wrong;
        wrong.error = simserver::ServerError{-1, 0, 0, std::to_string(outcome.statements.size()) + " statements"};
        return wrong;
    }

    simserver::Engine engine;
    std::unique_ptr<simserver::Session> session;
};

} // namespace EngineFixture

Q_DECLARE_METATYPE(simserver::Persona)
