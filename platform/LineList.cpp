#include "LineList.h"

void LineList::append(QStringView line)
{
    // QString::append copes with a source inside its own buffer and grows geometrically.
    text_.append(line);
    ends_.append(text_.size());
}

void LineList::clear()
{
    // QList::clear keeps the capacity from Qt 6.5 on; a fresh list does not.
    text_ = QString();
    ends_ = QList<qint64>();
}

bool operator==(const LineList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i) != b.at(i))
            return false;
    }
    return true;
}

QStringList LineList::toStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i).toString());
    return lines;
}

qsizetype LineList::storageBytes() const
{
    return text_.capacity() * qsizetype(sizeof(QChar)) + ends_.capacity() * qsizetype(sizeof(qint64));
}
