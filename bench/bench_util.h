#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>

// A figure of this process's /proc status in KiB, field naming it with its colon
// ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
inline long StatusKib(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field)) {
      return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    }
  }
  return -1;
}

// Wall time of one run of job, in milliseconds.
inline double Milliseconds(const std::function<void()>& job) {
  QElapsedTimer timer;
  timer.start();
  job();
  return double(timer.nsecsElapsed()) / 1e6;
}

// A program folder to start the program in: the shipped language files copied in, and the
// settings, data and recovery copies kept there too, so that a run neither reads the user's
// View choices (colouring off makes typing into a minified page several times slower) nor
// leaves its own behind.
inline void PrepareProgramFolder(const QString& program_folder) {
  for (const char* name : {"english.lng", "russian.lng"}) {
    QFile::copy(QStringLiteral(BM_LANGUAGE_DIR "/") + QLatin1String(name),
                program_folder + u'/' + QLatin1String(name));
  }
  for (const char* variable :
       {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
    qputenv(variable, QFile::encodeName(program_folder));
  }
}
