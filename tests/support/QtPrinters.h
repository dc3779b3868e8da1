#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt values in GoogleTest.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '[';
    for (qsizetype i = 0; i < list.size(); ++i)
        *out << (i ? ", \"" : "\"") << list.at(i).toStdString() << '"';
    *out << ']';
}

inline void PrintTo(const QMap<QString, QString> &map, std::ostream *out)
{
    *out << '{';
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        *out << (it == map.cbegin() ? "" : ", ") << it.key().toStdString() << ": \""
             << it.value().toStdString() << '"';
    *out << '}';
}

inline void PrintTo(const QJsonValue &value, std::ostream *out)
{
    *out << QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}
