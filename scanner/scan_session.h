#pragma once
#include "scanner/console_output.h"
#include "scanner/recorder.h"
#include "scanner/reserved_names.h"
#include "scanner/run_totals.h"

// What one scanner run keeps from start to exit.
struct ScanSession {
  ScanSession(ConsoleOutput& consoleOutput, Recorder::FlagRaiser raiseFlag)
      : console(consoleOutput), raiseFlag(raiseFlag), recorder(std::move(raiseFlag)) {}

  ConsoleOutput& console;
  Recorder::FlagRaiser raiseFlag;
  ReservedNames names;
  RunTotals totals;
  Recorder recorder;
};
