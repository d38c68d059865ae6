#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every file the program writes, but the database, goes through here: the
// exports, config.ini and the model file. A file is replaced only once its new
// content is wholly written (a new file beside it, then a rename), so a full
// disk or a lost right to write leaves the old file as it was and reports why.

// Writes the bytes as the whole content of path.
Status WriteWholeFile(const QString& path, QByteArrayView bytes);

// Writes text followed by CR LF in UTF-8 (the HTML templates declare that charset).
Status SaveTextFile(const QString& path, const QString& text);

// Reads a text file line by line, a line ending at CR LF or at a lone CR (the
// ending is dropped; a lone LF stays inside the line). whole: all lines joined
// with no separator, so a template's CR LF line breaks disappear; otherwise the
// first line only. Fails when the file is missing, a folder or unreadable.
Result<QString> ReadTextFile(const QString& path, bool whole);

// True when the path names an existing file (not a folder); false for "".
bool FileExists(const QString& path);

// Why writing count bytes to path failed, in words for the user: the disk is
// full, the folder is missing or read-only, the name is too long, or the
// system's own reason.
QString WriteFailureReason(const QString& path, qint64 count, const QString& systemReason);

// The message of a failed write: "无法写入文件 <path>：<reason>".
QString WriteFailedMessage(const QString& path, const QString& reason);

// Test seam: the next count writes through WriteWholeFile fail as they would
// on a full disk, without touching the disk.
void SimulateFullDiskForWrites(int count);
