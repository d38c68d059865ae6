#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
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
Text WriteFailureReason(const QString& path, qint64 count, const QString& systemReason);

// The message of a failed write: "无法写入文件 <path>：<reason>".
Text WriteFailedMessage(const QString& path, const Text& reason);

// A file written piece by piece (an export too long to hold whole): the
// pieces go into a new file beside path, which takes the place of path only
// when commit() succeeds. Anything less (a failed write, a failed commit, or
// the object going away uncommitted) removes the new file and leaves an older
// one at path as it was.
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Starts the new file.
    Status open();
    // Where the pieces go, once open() succeeded. Unbuffered, so that a write
    // the disk refuses fails at once.
    QIODevice* device() { return &file_; }
    // Puts the new file in place, or says why it could not be written.
    Status commit();
    // Gives up: removes the new file. The failure says why writing stopped:
    // the disk's or the folder's reason when a write was refused, otherwise
    // the reason given.
    Failure abandon(const Text& reason);

private:
    bool writeFailed() const;
    Failure failure(const QString& reason) const;

    QString path_;
    QSaveFile file_;
    bool simulatedFull_ = false;
};

// Test seam: the next count writes through WriteWholeFile or FileReplacement
// fail as they would on a full disk, without touching the disk.
void SimulateFullDiskForWrites(int count);
