#pragma once
#include <string>

// A temporary program directory with config/ and an empty data store made from the schema;
// the process's program directory points at it until the object goes away.
class TemporaryProgramDir {
 public:
  TemporaryProgramDir();
  ~TemporaryProgramDir();
  TemporaryProgramDir(const TemporaryProgramDir&) = delete;
  TemporaryProgramDir& operator=(const TemporaryProgramDir&) = delete;

  // Ends with "/".
  const std::string& path() const { return path_; }
  std::string store() const { return path_ + "config/FileInfo.dat"; }

 private:
  std::string path_;
};

// A fresh temporary directory (no trailing "/"), removed with everything in it at destruction.
class TemporaryDir {
 public:
  TemporaryDir();
  ~TemporaryDir();
  TemporaryDir(const TemporaryDir&) = delete;
  TemporaryDir& operator=(const TemporaryDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Runs a shell command line for test set-up; answers its exit status.
int runShell(const std::string& command);
