#pragma once

#include <QString>

// Text files of the exports and their templates, in UTF-8 (the HTML templates
// declare that charset).

// Creates or replaces the file with the text followed by CR LF. False when the
// file cannot be written; nothing is reported.
bool SaveTextFile(const QString& path, const QString& text);

// Reads a text file line by line, a line ending at CR LF or at a lone CR (the
// ending is dropped; a lone LF stays inside the line). whole: all lines joined
// with no separator, so a template's CR LF line breaks disappear; otherwise
// the first line only. A missing or unreadable file gives "".
QString ReadTextFile(const QString& path, bool whole);

// True when the path names an existing file (not a folder); false for "".
bool FileExists(const QString& path);
