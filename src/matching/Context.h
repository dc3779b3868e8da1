#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariantMap>

namespace glimra {

/// The record that carries one guess from capture to action: text keys to text values.
/// A key that is absent means "no such fact"; a key present with an empty value counts as
/// present. Multi-valued entries hold one item per line, joined with "\n".
using Context = QMap<QString, QString>;

// Captured facts. Written into the selection context by capture and the guess controller.
inline const QString CTX_APPID = QStringLiteral("CTX_APPID");
inline const QString CTX_APP_NAME = QStringLiteral("CTX_APP_NAME");
inline const QString CTX_WIN_NAME = QStringLiteral("CTX_WIN_NAME");
/// The window the selection was captured from: "0x" and hexadecimal.
inline const QString CTX_WINDOW_ID = QStringLiteral("CTX_WINDOW_ID");
inline const QString CTX_PATH = QStringLiteral("CTX_PATH");
inline const QString CTX_DIR = QStringLiteral("CTX_DIR");
inline const QString CTX_FILE = QStringLiteral("CTX_FILE");
inline const QString CTX_URL = QStringLiteral("CTX_URL");
inline const QString CTX_TEXT = QStringLiteral("CTX_TEXT");
inline const QString CTX_DIRx = QStringLiteral("CTX_DIRx");

// Matcher results. Copied into the matched context after every match.
inline const QString ACT_FOUND = QStringLiteral("ACT_FOUND");
inline const QString ACT_PATH = QStringLiteral("ACT_PATH");
inline const QString ACT_PATHS = QStringLiteral("ACT_PATHS");
inline const QString ACT_PATH_LINE = QStringLiteral("ACT_PATH_LINE");
inline const QString ACT_PATH_COLUMN = QStringLiteral("ACT_PATH_COLUMN");
/// Beside ACT_PATHS, for the frames of a trace: one entry per line of ACT_PATHS, in the same
/// order, the line number followed by ":" and the column where the trace gives one ("214",
/// "3:5").
inline const QString ACT_PATH_LINES = QStringLiteral("ACT_PATH_LINES");
inline const QString ACT_URL = QStringLiteral("ACT_URL");
inline const QString ACT_URLS = QStringLiteral("ACT_URLS");
inline const QString ACT_WORDS = QStringLiteral("ACT_WORDS");
inline const QString ACT_TEXT = QStringLiteral("ACT_TEXT");
inline const QString ACT_COMMAND = QStringLiteral("ACT_COMMAND");
inline const QString ACT_DATA_TYPE = QStringLiteral("ACT_DATA_TYPE");
inline const QString ACT_DATA_PATH = QStringLiteral("ACT_DATA_PATH");
inline const QString ACT_SEARCH_QUERY = QStringLiteral("ACT_SEARCH_QUERY");
inline const QString ACT_SEARCH_FILE = QStringLiteral("ACT_SEARCH_FILE");
inline const QString ACT_SEARCH_SCOPE = QStringLiteral("ACT_SEARCH_SCOPE");
inline const QString ACT_FILENAME = QStringLiteral("ACT_FILENAME");
inline const QString ACT_FILENAMES = QStringLiteral("ACT_FILENAMES");

// The keys of an application script's "selected_files" report; never in a context.
inline const QString CURRENT_PATH = QStringLiteral("CURRENT_PATH");
inline const QString APP_NAME = QStringLiteral("APP_NAME");
inline const QString WIN_NAME = QStringLiteral("WIN_NAME");

inline const QString CapturedPrefix = QStringLiteral("CTX_");
inline const QString ResultPrefix = QStringLiteral("ACT_");
inline const QString LogPrefix = QStringLiteral("LOG_");

/// A key that travels to the matched context (begins with "ACT_").
bool isResultKey(const QString &key);

/// Sets `key` to `value`, or removes it when `value` is null: a key set to nothing is
/// left out.
void set(Context &context, const QString &key, const QString &value);

/// The context as a dictionary of texts, and back (values that are not texts become
/// their text form; nil values are left out).
QVariantMap toVariantMap(const Context &context);
Context contextFromVariantMap(const QVariantMap &map);

/// The context as a JSON object of texts, the form handler scripts receive.
QJsonObject toJsonObject(const Context &context);

} // namespace glimra
