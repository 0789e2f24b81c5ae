#include "AtomicFile.h"

#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

bool writeAtomically(const QString& path, const QByteArray& bytes, QString* reason) {
  QSaveFile file(path);
  // Unbuffered: each write reaches the system at once, so its count is the truth.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    *reason = file.errorString();
    return false;
  }
  qint64 written = 0;
  while (written < bytes.size()) {
    // After a short write, the next one fails and carries the system's reason.
    qint64 now = file.write(bytes.constData() + written, bytes.size() - written);
    if (now <= 0) {
      *reason = file.errorString();
      file.cancelWriting();
      return false;
    }
    written += now;
  }
  if (::fsync(file.handle()) != 0) {
    *reason = QString::fromLocal8Bit(std::strerror(errno));
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    *reason = file.errorString();
    return false;
  }
  return true;
}

bool saveAtomically(const QString& path, const QByteArray& bytes, QString* error) {
  bool existed = QFileInfo::exists(path);
  QString reason;
  if (writeAtomically(path, bytes, &reason)) return true;
  *error = existed ? QObject::tr("Cannot save %1: %2. The file keeps what it held before.").arg(path, reason)
                   : QObject::tr("Cannot save %1: %2.").arg(path, reason);
  return false;
}
