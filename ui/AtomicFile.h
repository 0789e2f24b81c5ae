// Writing a file so that it is either wholly the new bytes or still wholly
// the old ones.  The bytes go to a temporary file beside it, every write is
// checked (a full disk or a file-size limit shows as a short write, which a
// buffered stream would only report, if at all, when it is too late), the
// data reach the disk, and only then is the temporary renamed over the file.
#pragma once

#include <QByteArray>
#include <QString>

// False with `reason`, the system's words for the failure; the old file is untouched then.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* reason);
// The same, with the message a window shows: which file and why.
bool saveAtomically(const QString& path, const QByteArray& bytes, QString* error);
