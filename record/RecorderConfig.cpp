#include "RecorderConfig.h"

#include "FileError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <array>
#include <limits>
#include <optional>

namespace {

enum class Key {
    Server,
    Provider,
    User,
    PasswordFile,
    Database,
    Statement,
    Interval,
    Delta,
    ValueName,
    DataFile,
    RawFile,
    Delimiter
};

struct KeyName {
    Key key;
    QLatin1StringView name;
    bool required;
};

const std::array<KeyName, 12> keyNames{{
    {Key::Server, QLatin1StringView("Server"), true},
    {Key::Provider, QLatin1StringView("Provider"), true},
    {Key::User, QLatin1StringView("User"), false},
    {Key::PasswordFile, QLatin1StringView("PasswordFile"), false},
    {Key::Database, QLatin1StringView("Database"), false},
    {Key::Statement, QLatin1StringView("Statement"), true},
    {Key::Interval, QLatin1StringView("Interval"), true},
    {Key::Delta, QLatin1StringView("Delta"), false},
    {Key::ValueName, QLatin1StringView("ValueName"), false},
    {Key::DataFile, QLatin1StringView("DataFile"), true},
    {Key::RawFile, QLatin1StringView("RawFile"), false},
    {Key::Delimiter, QLatin1StringView("Delimiter"), false},
}};

constexpr int longestIntervalSeconds = std::numeric_limits<int>::max() / 1000;

std::optional<KeyName> keyNamed(const QString &name)
{
    for (const KeyName &key : keyNames)
        if (name.compare(key.name, Qt::CaseInsensitive) == 0)
            return key;
    return std::nullopt;
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

class Reader {
public:
    explicit Reader(const QString &fileName) : fileName_(fileName), folder_(QFileInfo(fileName).absoluteDir()) {}

    RecorderConfig::Result read()
    {
        QStringList lines;
        try {
            lines = TextFile::read(fileName_).lines;
        } catch (const FileError &error) {
            result_.errors << fileName_ + QStringLiteral(": ") + error.reason();
            return result_;
        }
        for (qsizetype i = 0; i < lines.size(); ++i)
            readLine(int(i) + 1, lines[i].trimmed());
        endSection();
        if (result_.sections.isEmpty() && result_.errors.isEmpty())
            result_.errors << fileName_ + QStringLiteral(": no slot: a slot is a section such as [transactions]");
        if (!result_.errors.isEmpty())
            result_.sections.clear();
        return result_;
    }

private:
    void error(int line, const QString &text)
    {
        result_.errors << fileName_ + u':' + QString::number(line) + QStringLiteral(": ") + text;
    }

    void readLine(int line, const QString &text)
    {
        if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
            return;
        if (text.startsWith(u'[')) {
            if (!text.endsWith(u']'))
                return error(line, QStringLiteral("a section's name ends with \"]\""));
            return startSection(line, text.mid(1, text.size() - 2).trimmed());
        }
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            return error(line, QStringLiteral("neither a [section] nor Key=Value"));
        const QString name = text.left(equals).trimmed();
        const QString value = text.mid(equals + 1).trimmed();
        if (!section_)
            return error(line, QStringLiteral("%1 stands before the first [section]").arg(name));
        if (name.compare(QLatin1StringView("Password"), Qt::CaseInsensitive) == 0)
            return error(line, QStringLiteral(
                                   "a password is never read from this file: name a file holding it in PasswordFile"));
        const std::optional<KeyName> key = keyNamed(name);
        if (!key)
            return error(line, QStringLiteral("unknown key %1").arg(quoted(name)));
        if (seen_.contains(key->key))
            return error(line, QStringLiteral("%1 is given twice in [%2]").arg(key->name, section_->name));
        seen_ << key->key;
        if (key->required && value.isEmpty())
            return error(line, QStringLiteral("%1 has no value").arg(key->name));
        setValue(line, key->key, value);
    }

    void startSection(int line, const QString &name)
    {
        endSection();
        // A bad section is still read, so that its lines are judged as lines of a section.
        const QString folded = name.toCaseFolded();
        if (name.isEmpty())
            error(line, QStringLiteral("a section needs a name: the slot's"));
        else if (sectionLines_.contains(folded))
            error(line,
                  QStringLiteral("[%1] is defined twice (first on line %2)").arg(name).arg(sectionLines_[folded]));
        else
            sectionLines_.insert(folded, line);
        section_.emplace();
        section_->name = name;
        section_->line = line;
        section_->number = int(result_.sections.size()) + 1;
        seen_.clear();
    }

    void endSection()
    {
        if (!section_)
            return;
        QStringList missing;
        for (const KeyName &key : keyNames)
            if (key.required && !seen_.contains(key.key))
                missing << key.name;
        if (!missing.isEmpty())
            error(section_->line,
                  QStringLiteral("[%1] has no %2").arg(section_->name, missing.join(QStringLiteral(", "))));
        result_.sections << *section_;
        section_.reset();
    }

    QString path(const QString &name) const { return QDir::cleanPath(folder_.absoluteFilePath(name)); }

    void setValue(int line, Key key, const QString &value)
    {
        SlotConfig &slot = *section_;
        switch (key) {
        case Key::Server: slot.server = value; break;
        case Key::User: slot.user = value; break;
        case Key::Database: slot.database = value; break;
        case Key::Statement: slot.statement = value; break;
        case Key::ValueName: slot.valueName = value; break;
        case Key::Delimiter: slot.delimiter = value; break;
        case Key::Provider:
            if (value.compare(QLatin1StringView("ODBC"), Qt::CaseInsensitive) == 0)
                slot.odbcDsn = true;
            else if (value.compare(QLatin1StringView("OLEDB"), Qt::CaseInsensitive) == 0)
                slot.odbcDsn = false;
            else
                error(line, QStringLiteral("Provider is ODBC or OLEDB, not %1").arg(quoted(value)));
            break;
        case Key::Interval: {
            bool whole = false;
            const int seconds = value.toInt(&whole);
            if (!whole || seconds < 1 || seconds > longestIntervalSeconds)
                error(line, QStringLiteral("Interval is whole seconds from 1 to %1, not %2")
                                .arg(longestIntervalSeconds)
                                .arg(quoted(value)));
            else
                slot.intervalSeconds = seconds;
            break;
        }
        case Key::Delta:
            if (value.compare(QLatin1StringView("yes"), Qt::CaseInsensitive) == 0)
                slot.delta = true;
            else if (value.compare(QLatin1StringView("no"), Qt::CaseInsensitive) == 0)
                slot.delta = false;
            else
                error(line, QStringLiteral("Delta is yes or no, not %1").arg(quoted(value)));
            break;
        case Key::PasswordFile: readPassword(line, path(value)); break;
        case Key::DataFile: slot.dataFile = writableFile(line, value); break;
        case Key::RawFile:
            if (!value.isEmpty())
                slot.rawFile = writableFile(line, value);
            break;
        }
    }

    void readPassword(int line, const QString &fileName)
    {
        try {
            section_->password = TextFile::read(fileName).lines.value(0);
        } catch (const FileError &failure) {
            error(line, QStringLiteral("cannot read the password file %1: %2").arg(quoted(fileName), failure.reason()));
        }
    }

    // A file two slots write would interleave their lines.
    QString writableFile(int line, const QString &value)
    {
        const QString fileName = path(value);
        const QFileInfo file(fileName);
        const QFileInfo folder(file.absolutePath());
        if (!folder.isDir())
            error(line, QStringLiteral("the folder of %1 does not exist").arg(quoted(fileName)));
        else if (file.exists() ? !file.isFile() || !file.isWritable() : !folder.isWritable())
            error(line, QStringLiteral("%1 cannot be written").arg(quoted(fileName)));
        else if (fileLines_.contains(fileName))
            error(line,
                  QStringLiteral("%1 is written on line %2 already").arg(quoted(fileName)).arg(fileLines_[fileName]));
        else
            fileLines_.insert(fileName, line);
        return fileName;
    }

    QString fileName_;
    QDir folder_;
    RecorderConfig::Result result_;
    std::optional<SlotConfig> section_;
    QList<Key> seen_;
    QHash<QString, int> sectionLines_;
    QHash<QString, int> fileLines_;
};

} // namespace

namespace RecorderConfig {

Result read(const QString &fileName)
{
    return Reader(fileName).read();
}

} // namespace RecorderConfig
