// Makes the empty data store from the schema: the programs never create tables themselves.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCHEMA_SQL STORE_FILE\n", argv[0]);
    return 2;
  }
  std::ifstream schemaFile(argv[1], std::ios::binary);
  if (!schemaFile) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  std::stringstream schema;
  schema << schemaFile.rdbuf();

  // Build beside the target and rename, so a failed build never leaves a half-made store.
  const std::string target = argv[2];
  const std::string temporary = target + ".new";
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((temporary + suffix).c_str());
  // The store holds server passwords: only its owner may read it. SQLite gives its journal and
  // write-ahead files the mode of the store, so the file is made with that mode before it opens.
  std::ofstream(temporary, std::ios::binary).close();
  std::error_code modeError;
  std::filesystem::permissions(temporary, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::replace, modeError);
  if (modeError) {
    std::fprintf(stderr, "cannot restrict %s: %s\n", temporary.c_str(), modeError.message().c_str());
    std::remove(temporary.c_str());
    return 1;
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  char* error = nullptr;
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::fprintf(stderr, "cannot make %s: %s\n", target.c_str(), error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    std::remove(temporary.c_str());
    return 1;
  }
  // Closing the last connection folds the write-ahead log into the file: the store is one file.
  if (sqlite3_close(db) != SQLITE_OK) {
    std::fprintf(stderr, "cannot close %s\n", temporary.c_str());
    return 1;
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::fprintf(stderr, "cannot rename %s to %s\n", temporary.c_str(), target.c_str());
    return 1;
  }
  return 0;
}
