#include "maintenance/cleaning/cleaning_pass.h"

#include <ctime>
#include <vector>

#include "common/files/long_path.h"
#include "common/files/long_path_move.h"
#include "common/platform/volume.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"

namespace {

constexpr int kMaxRowsPerPass = 9999;
constexpr std::size_t kMaxStoredPath = 0x6400000;
constexpr std::size_t kMaxDecodedPathUnits = 102400 / 2;

enum class EntryOutcome { Moved, Missing, Skipped, EndPass };

void recordOutcome(const std::string& storedPath, const char* text) {
  // The stored text is Base64 and holds no quote; it is quoted all the same.
  qevExecuteSql(std::string("update fileinfo set CompactDatabase = '1', fileinfo = '") + text +
                "' where filepath = '" + qevSqlQuote(storedPath) + "'");
}

bool decodeSourcePath(const std::string& storedPath, std::u16string& source) {
  if (storedPath.empty() || storedPath.size() >= kMaxStoredPath) return false;
  if (!qevDecodeStoredName(storedPath, source)) return false;
  return source.size() < kMaxDecodedPathUnits && source.size() >= 2 && source.front() == u'/';
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The path of the entry below its volume root ("web/a/con." for /srv/web/a/con. on /srv).
std::string pathBelowVolume(const std::string& source, const std::string& volumeRoot) {
  const std::size_t skip = volumeRoot == "/" ? 1 : volumeRoot.size() + 1;
  return source.substr(skip);
}

class CleaningPass {
 public:
  CleaningPass(const CleaningPassHooks& hooks, std::string date, std::string time)
      : hooks_(hooks), date_(std::move(date)), time_(std::move(time)),
        mounts_(sorrel::platform::readMountTable()) {}

  CleaningPassResult run() {
    CleaningPassResult result;
    std::vector<std::string> storedPaths;
    const int read = qevReadColumnValues("fileinfo", "CompactDatabase", "2", "filepath", kMaxRowsPerPass, storedPaths);
    if (read == 0) {
      hooks_.show("未读取到需要清理的目录文件记录，请先“扫描文件”！", MessageIcon::Stop);
      return result;
    }
    if (read != 1 || storedPaths.empty()) {
      hooks_.show("获取到的需要清理的目录文件记录数为0，请先扫描文件！", MessageIcon::Stop);
      return result;
    }
    result.taken = static_cast<unsigned>(storedPaths.size());
    hooks_.setProgressRange(static_cast<int>(storedPaths.size()));
    for (std::size_t i = 0; i < storedPaths.size(); ++i) {
      hooks_.setProgressPosition(static_cast<int>(i + 1));
      if (!hooks_.isActive()) break;
      const EntryOutcome outcome = cleanEntry(storedPaths[i]);
      if (outcome == EntryOutcome::EndPass) return result;
      if (outcome == EntryOutcome::Moved) ++result.moved;
    }
    hooks_.reloadRecords();
    hooks_.show("清理文件完成。成功清理 " + std::to_string(result.moved) + " 个；未清理 " +
                    std::to_string(result.taken - result.moved) +
                    " 个。\r\n\r\n\r\n当前已清理的文件，已经备份到“硬盘:\\qev_dot_file_backup\\” 目录中",
                MessageIcon::Information);
    result.summarized = true;
    return result;
  }

 private:
  EntryOutcome cleanEntry(const std::string& storedPath) {
    std::u16string source;
    if (!decodeSourcePath(storedPath, source)) return EntryOutcome::Skipped;
    std::string sourceBytes;
    if (qevWideToAnsi(source, sourceBytes) != 1) {
      hooks_.show("转换备份目录  的编码失败，请重试！", MessageIcon::Stop);
      return EntryOutcome::EndPass;
    }
    sorrel::platform::MountPoint volume;
    if (!sorrel::platform::findVolume(mounts_, sourceBytes, volume)) return EntryOutcome::Skipped;
    std::string backupDirectory;
    if (qevPrepareBackupDirectory(volume.path, date_, time_, backupDirectory, hooks_.show) != 1) {
      return EntryOutcome::Skipped;
    }
    if (backupDirectory.empty() || backupDirectory.size() > 259) return EntryOutcome::Skipped;

    const int kind = qevGetPathKind(source);
    if (kind == 3 || kind == 4) {
      recordOutcome(storedPath, kMissingText);
      return EntryOutcome::Missing;
    }
    if (kind != 1 && kind != 2) return EntryOutcome::Skipped;
    return moveEntry(storedPath, source, sourceBytes, volume.path, backupDirectory);
  }

  EntryOutcome moveEntry(const std::string& storedPath, const std::u16string& source,
                         const std::string& sourceBytes, const std::string& volumeRoot,
                         const std::string& backupDirectory) {
    if (startsWith(sourceBytes, qevBackupRootOf(volumeRoot))) return EntryOutcome::Skipped;
    // A special entry that is itself a mount point has no path below its volume to move.
    if (sourceBytes == volumeRoot) return EntryOutcome::Skipped;
    // A path that now leads elsewhere (a link on the way, a changed mount) is left alone.
    if (qevEntryIsOnVolume(source, volumeRoot) != 1) return EntryOutcome::Skipped;
    std::u16string target;
    if (qevAnsiToWide(backupDirectory + "/" + pathBelowVolume(sourceBytes, volumeRoot), target) != 1) {
      return EntryOutcome::Skipped;
    }
    if (qevCreateLongPathParent(target) != 1) return EntryOutcome::Skipped;
    if (qevMoveNoReplace(source, target) != 1) return EntryOutcome::Skipped;
    recordOutcome(storedPath, kMovedText);
    return EntryOutcome::Moved;
  }

  const CleaningPassHooks& hooks_;
  const std::string date_;
  const std::string time_;
  const std::vector<sorrel::platform::MountPoint> mounts_;
};

}  // namespace

CleaningPassTime qevCleaningPassTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[32] = {};
  char time[32] = {};
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::strftime(time, sizeof time, "%H-%M-%S", &local);
  return {date, time};
}

CleaningPassResult qevRunCleaningPass(const CleaningPassHooks& hooks, const std::string& date,
                                      const std::string& time) {
  return CleaningPass(hooks, date, time).run();
}
