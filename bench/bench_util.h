#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>

// Wall time of one run of job, in milliseconds.
inline double Milliseconds(const std::function<void()>& job) {
  QElapsedTimer timer;
  timer.start();
  job();
  return double(timer.nsecsElapsed()) / 1e6;
}

// The shipped language files, copied into a program folder the benchmark starts the program in.
inline void CopyLanguageFiles(const QString& program_folder) {
  for (const char* name : {"english.lng", "russian.lng"}) {
    QFile::copy(QStringLiteral(BM_LANGUAGE_DIR "/") + QLatin1String(name),
                program_folder + u'/' + QLatin1String(name));
  }
}
