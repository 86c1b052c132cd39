#pragma once

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

// Fuzz targets that draw text need a QGuiApplication on the offscreen platform.
inline void StartGuiApplication() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

// Ends the run with a report that libFuzzer counts as a finding.
#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)
