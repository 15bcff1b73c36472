#include "Engine.h"

#include "AseCatalogue.h"
#include "BatchLog.h"
#include "BatchSplitter.h"
#include "Database.h"
#include "MsSqlCatalogue.h"
#include "PersonaRules.h"
#include "SqlLexer.h"
#include "SqlRewriter.h"
#include "SqliteErrors.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace simserver {

struct Engine::Impl {
    explicit Impl(const EngineOptions &options)
        : options(options), log(options.logFile), database(options.databaseFile, options.deterministic)
    {
        if (options.persona == Persona::Ase)
            AseCatalogue::install(database);
        else
            MsSqlCatalogue::install(database);
    }

    EngineOptions options;
    BatchLog log;
    Database database;
};

Engine::Engine(const EngineOptions &options) : impl_(std::make_unique<Impl>(options)) {}

Engine::~Engine() = default;

Persona Engine::persona() const { return impl_->options.persona; }

namespace {

// The columns ODBC drivers expect from sp_datatype_info; the server lists no types.
ResultSet datatypeInfo()
{
    ResultSet result;
    for (const char *name : {"TYPE_NAME", "DATA_TYPE", "PRECISION", "LITERAL_PREFIX", "LITERAL_SUFFIX", "CREATE_PARAMS",
                             "NULLABLE", "CASE_SENSITIVE", "SEARCHABLE", "UNSIGNED_ATTRIBUTE", "MONEY", "AUTO_INCREMENT",
                             "LOCAL_TYPE_NAME", "MINIMUM_SCALE", "MAXIMUM_SCALE", "SQL_DATA_TYPE", "SQL_DATETIME_SUB",
                             "NUM_PREC_RADIX", "INTERVAL_PRECISION"}) {
        const std::string column = name;
        const bool text = column == "TYPE_NAME" || column == "LITERAL_PREFIX" || column == "LITERAL_SUFFIX"
                          || column == "CREATE_PARAMS" || column == "LOCAL_TYPE_NAME";
        result.columns.push_back({column, text ? ColumnType::Text : ColumnType::Integer});
    }
    return result;
}

// "hh:mm[:ss[.mmm]]"; nullopt when malformed.
std::optional<std::chrono::milliseconds> parseDelay(const std::string &text)
{
    double parts[3] = {0, 0, 0};
    int count = 0;
    const char *at = text.c_str();
    while (*at && count < 3) {
        char *end = nullptr;
        parts[count++] = std::strtod(at, &end);
        if (end == at)
            return std::nullopt;
        at = *end == ':' ? end + 1 : end;
        if (*end && *end != ':')
            return std::nullopt;
    }
    if (count < 2 || *at)
        return std::nullopt;
    return std::chrono::milliseconds(std::int64_t((parts[0] * 3600 + parts[1] * 60 + parts[2]) * 1000));
}

ServerError syntaxErrorAt(const std::vector<Token> &tokens, std::size_t index)
{
    return PersonaRules::syntaxErrorNear(tokens[index < tokens.size() ? index : tokens.size() - 1].text);
}

} // namespace

struct Session::Impl {
    Impl(Engine::Impl &engine, int spid, std::string user, std::string database)
        : engine(engine), spid(spid), user(std::move(user)), database(std::move(database)),
          quotedIdentifier(PersonaRules::quotedIdentifierAtLogin(engine.options.persona))
    {
    }

    // `interrupted` is set when `cancelled` stopped the statement; its outcome is then dropped.
    StatementOutcome run(const SplitStatement &statement, const std::function<bool()> &cancelled, bool &interrupted);
    StatementOutcome runSql(const std::vector<Token> &tokens, const std::function<bool()> &cancelled,
                            bool &interrupted, bool advancesClock = true);
    StatementOutcome runIf(const SplitStatement &statement, const std::function<bool()> &cancelled, bool &interrupted);
    StatementOutcome runWaitfor(const std::vector<Token> &tokens, const std::function<bool()> &cancelled,
                                bool &interrupted);
    StatementOutcome runProcedure(const std::vector<Token> &tokens, std::size_t nameIndex);

    Persona persona() const { return engine.options.persona; }

    Engine::Impl &engine;
    int spid;
    std::string user;
    std::string database;
    int tranCount = 0;
    std::int64_t lastRowCount = 0;
    bool quotedIdentifier;
};

std::unique_ptr<Session> Engine::openSession(int spid, const std::string &user, const std::string &database)
{
    return std::unique_ptr<Session>(new Session(std::make_unique<Session::Impl>(*impl_, spid, user, database)));
}

Session::Session(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Session::~Session() = default;

const std::string &Session::database() const { return impl_->database; }

int Session::spid() const { return impl_->spid; }

BatchOutcome Session::execute(std::string_view batch, const std::function<bool()> &cancelled)
{
    impl_->engine.log.append(batch);
    BatchOutcome outcome;
    const LexResult lexed = lexSql(batch);
    if (lexed.unclosedString) {
        outcome.statements.push_back({std::nullopt, 0, PersonaRules::unclosedQuote(*lexed.unclosedString), std::nullopt});
        return outcome;
    }
    for (const SplitStatement &statement : splitBatch(lexed.tokens)) {
        bool interrupted = cancelled && cancelled();
        StatementOutcome result;
        if (!interrupted)
            result = impl_->run(statement, cancelled, interrupted);
        if (interrupted) {
            outcome.cancelled = true;
            break;
        }
        outcome.statements.push_back(std::move(result));
        if (outcome.statements.back().error)
            break;
    }
    return outcome;
}

StatementOutcome Session::Impl::run(const SplitStatement &statement, const std::function<bool()> &cancelled,
                                    bool &interrupted)
{
    const auto &tokens = statement.tokens;
    const Token &first = tokens.front();
    StatementOutcome outcome;
    if (first.isWord("USE")) {
        if (tokens.size() != 2 || !tokens[1].isIdentifier())
            outcome.error = syntaxErrorAt(tokens, 1);
        else
            outcome.newDatabase = database = tokens[1].bareName();
    } else if (first.isWord("BEGIN")) {
        if (tokens.size() >= 2 && (tokens[1].isWord("TRAN") || tokens[1].isWord("TRANSACTION")))
            ++tranCount;
        else
            outcome.error = syntaxErrorAt(tokens, 0);
    } else if (first.isWord("COMMIT")) {
        tranCount = tranCount > 0 ? tranCount - 1 : 0;
    } else if (first.isWord("ROLLBACK")) {
        tranCount = 0;
    } else if (first.isWord("SET") && tokens.size() == 3 && tokens[1].isWord("QUOTED_IDENTIFIER")) {
        quotedIdentifier = tokens[2].isWord("ON");
    } else if (first.isWord("SET") || first.isWord("SAVE") || first.isWord("PRINT")) {
        // Other session options and savepoints change nothing the simulation reports.
    } else if (first.isWord("IF")) {
        return runIf(statement, cancelled, interrupted);
    } else if (first.isWord("WAITFOR")) {
        return runWaitfor(tokens, cancelled, interrupted);
    } else if (first.isWord("EXEC") || first.isWord("EXECUTE")) {
        return runProcedure(tokens, 1);
    } else if (first.kind == TokenKind::Word && toUpper(first.text).rfind("SP_", 0) == 0) {
        return runProcedure(tokens, 0);
    } else {
        return runSql(tokens, cancelled, interrupted);
    }
    return outcome;
}

StatementOutcome Session::Impl::runSql(const std::vector<Token> &tokens, const std::function<bool()> &cancelled,
                                       bool &interrupted, bool advancesClock)
{
    StatementOutcome outcome;
    const SqlRewriter rewriter(persona(), {spid, user, database, tranCount, lastRowCount, quotedIdentifier});
    const RewrittenStatement rewritten = rewriter.rewrite(tokens);
    if (rewritten.error) {
        outcome.error = rewritten.error;
        return outcome;
    }
    QueryOutcome query = engine.database.run(rewritten.sql, cancelled, advancesClock);
    interrupted = query.interrupted;
    if (query.error) {
        outcome.error = translateSqliteError(persona(), *query.error, rewritten.tables);
        return outcome;
    }
    if (query.result)
        for (Column &column : query.result->columns)
            if (column.name == SqlRewriter::unnamedColumn)
                column.name.clear();
    outcome.result = std::move(query.result);
    outcome.rowCount = lastRowCount = query.rowCount;
    return outcome;
}

StatementOutcome Session::Impl::runIf(const SplitStatement &statement, const std::function<bool()> &cancelled,
                                      bool &interrupted)
{
    const auto &tokens = statement.tokens;
    if (statement.bodyStart <= 1) {
        StatementOutcome outcome;
        outcome.error = syntaxErrorAt(tokens, tokens.size());
        return outcome;
    }
    std::vector<Token> test{{TokenKind::Word, "SELECT"}, {TokenKind::Word, "CASE"}, {TokenKind::Word, "WHEN"},
                            {TokenKind::Symbol, "("}};
    test.insert(test.end(), tokens.begin() + 1, tokens.begin() + std::ptrdiff_t(statement.bodyStart));
    for (const char *word : {")", "THEN", "1", "ELSE", "0", "END"})
        test.push_back({std::string(word) == ")" ? TokenKind::Symbol : TokenKind::Word, word});
    StatementOutcome condition = runSql(test, cancelled, interrupted, false);
    if (condition.error || interrupted)
        return condition;
    const auto &value = condition.result->rows.at(0).at(0);
    if (!value || !std::holds_alternative<std::int64_t>(*value) || std::get<std::int64_t>(*value) == 0)
        return {};
    const std::vector<Token> body(tokens.begin() + std::ptrdiff_t(statement.bodyStart), tokens.end());
    return run(splitBatch(body).front(), cancelled, interrupted);
}

StatementOutcome Session::Impl::runWaitfor(const std::vector<Token> &tokens, const std::function<bool()> &cancelled,
                                           bool &interrupted)
{
    StatementOutcome outcome;
    const bool quoted = tokens.size() == 3
                        && (tokens[2].kind == TokenKind::String || tokens[2].kind == TokenKind::DoubleQuoted);
    if (!quoted || !tokens[1].isWord("DELAY")) {
        outcome.error = syntaxErrorAt(tokens, tokens.size() >= 2 && tokens[1].isWord("DELAY") ? 2 : 1);
        return outcome;
    }
    const std::string text = tokens[2].bareName();
    const auto delay = parseDelay(text);
    if (!delay) {
        outcome.error = ServerError{148, 15, 1, "Incorrect time syntax in time string '" + text + "' used with WAITFOR."};
        return outcome;
    }
    // Sleeps outside the database lock, so other sessions go on meanwhile.
    const auto until = std::chrono::steady_clock::now() + *delay;
    while (std::chrono::steady_clock::now() < until) {
        if (cancelled && cancelled()) {
            interrupted = true;
            return outcome;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(10), until - std::chrono::steady_clock::now()));
    }
    return outcome;
}

StatementOutcome Session::Impl::runProcedure(const std::vector<Token> &tokens, std::size_t nameIndex)
{
    StatementOutcome outcome;
    if (nameIndex >= tokens.size() || !tokens[nameIndex].isIdentifier()) {
        outcome.error = syntaxErrorAt(tokens, nameIndex);
        return outcome;
    }
    const std::string name = tokens[nameIndex].bareName();
    const std::string upper = toUpper(name);
    if (upper == "SP_DATATYPE_INFO" || upper == "SP_DATATYPE_INFO_100")
        outcome.result = datatypeInfo();
    else
        outcome.error = PersonaRules::unknownProcedure(persona(), name);
    return outcome;
}

} // namespace simserver
