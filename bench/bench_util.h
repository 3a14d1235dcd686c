#pragma once

#include <QElapsedTimer>
#include <functional>

// Wall time of one run of job, in milliseconds.
inline double Milliseconds(const std::function<void()>& job) {
  QElapsedTimer timer;
  timer.start();
  job();
  return double(timer.nsecsElapsed()) / 1e6;
}
