#include "maintenance/cleaning/cleaning_pass.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <vector>

#include "common/files/long_path.h"
#include "common/platform/directory_handle.h"
#include "common/platform/volume.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "maintenance/cleaning/outcome_rows.h"
#include "maintenance/records/sort_keys.h"

namespace {

using sorrel::platform::DirectoryHandle;
using sorrel::platform::EntryKind;

constexpr std::size_t kMaxStoredPath = 0x6400000;
constexpr std::size_t kMaxDecodedPathUnits = 102400 / 2;

enum class EntryOutcome { Moved, Missing, Skipped, EndPass };

bool decodeSourcePath(const std::string& storedPath, std::u16string& source) {
  if (storedPath.empty() || storedPath.size() >= kMaxStoredPath) return false;
  if (!qevDecodeStoredName(storedPath, source)) return false;
  return source.size() < kMaxDecodedPathUnits && source.size() >= 2 && source.front() == u'/';
}

// The components of the entry's path below its volume root ("web", "a", "con." for
// /srv/web/a/con. on /srv); false when one is "." or "..", or there is none.
bool componentsBelowVolume(const std::string& source, const std::string& volumeRoot,
                           std::vector<std::string>& components) {
  components.clear();
  std::size_t start = volumeRoot == "/" ? 1 : volumeRoot.size() + 1;
  while (start < source.size()) {
    std::size_t end = source.find('/', start);
    if (end == std::string::npos) end = source.size();
    const std::string component = source.substr(start, end - start);
    start = end + 1;
    if (component == "." || component == "..") return false;
    if (!component.empty()) components.push_back(component);
  }
  return !components.empty();
}

std::string joinedBelow(const std::string& volumeRoot, const std::vector<std::string>& components, std::size_t count) {
  std::string path = volumeRoot == "/" ? "" : volumeRoot;
  for (std::size_t i = 0; i < count; ++i) path += "/" + components[i];
  return path.empty() ? "/" : path;
}

unsigned markedRows() {
  std::string count;
  if (qevReadFirstValue("select count(*) as marked from fileinfo where CompactDatabase = '2'", "marked", count) != 1 ||
      count.empty() || count.find_first_not_of("0123456789") != std::string::npos || count.size() > 9) {
    return 0;
  }
  return static_cast<unsigned>(std::stoul(count));
}

std::string summaryText(const CleaningPassResult& result) {
  std::string text = "清理文件完成。成功清理 " + std::to_string(result.moved) + " 个；未清理 " +
                     std::to_string(std::max(result.marked, result.taken) - result.moved) + " 个。";
  if (!result.backupDirectories.empty()) {
    text += "\r\n\r\n\r\n当前已清理的文件，已经备份到" + qevQuotedDirectories(result.backupDirectories) + " 目录中";
  }
  return text;
}

class CleaningPass {
 public:
  CleaningPass(const CleaningPassHooks& hooks, std::string date, std::string time)
      : hooks_(hooks), date_(std::move(date)), time_(std::move(time)),
        mounts_(sorrel::platform::readMountTable()) {}

  CleaningPassResult run() {
    std::vector<std::string> storedPaths;
    result_.marked = markedRows();
    const int read = qevReadColumnValues("fileinfo", "CompactDatabase", "2", "filepath", kRecordListRows, storedPaths);
    if (read == 0) {
      hooks_.show("未读取到需要清理的目录文件记录，请先“扫描文件”！", MessageIcon::Stop);
      return result_;
    }
    if (read != 1 || storedPaths.empty()) {
      hooks_.show("获取到的需要清理的目录文件记录数为0，请先扫描文件！", MessageIcon::Stop);
      return result_;
    }
    result_.taken = static_cast<unsigned>(storedPaths.size());
    hooks_.setProgressRange(static_cast<int>(storedPaths.size()));
    for (std::size_t i = 0; i < storedPaths.size(); ++i) {
      hooks_.setProgressPosition(static_cast<int>(i + 1));
      if (!hooks_.isActive()) break;
      const EntryOutcome outcome = cleanEntry(storedPaths[i]);
      if (outcome == EntryOutcome::EndPass) return result_;
      if (outcome == EntryOutcome::Moved) ++result_.moved;
    }
    outcomes_.flush();  // the reload and the summary show every recorded outcome
    hooks_.reloadRecords();
    hooks_.show(summaryText(result_), MessageIcon::Information);
    result_.summarized = true;
    return result_;
  }

 private:
  // The backup directory of a volume, prepared once per pass: a volume whose preparation failed
  // was reported once and has none for the rest of the pass.
  const BackupDirectory* backupFor(const std::string& volumeRoot) {
    auto found = backups_.find(volumeRoot);
    if (found == backups_.end()) {
      BackupDirectory directory;
      const bool ready = qevPrepareBackupDirectory(volumeRoot, date_, time_, directory, hooks_.show) == 1 &&
                         !directory.path.empty() && directory.path.size() <= 259;
      if (ready) result_.backupDirectories.push_back(directory.path);
      found = backups_.emplace(volumeRoot, ready ? std::move(directory) : BackupDirectory{}).first;
    }
    return found->second.handle.valid() ? &found->second : nullptr;
  }

  EntryOutcome cleanEntry(const std::string& storedPath) {
    std::u16string source;
    if (!decodeSourcePath(storedPath, source)) return EntryOutcome::Skipped;
    std::string sourceBytes;
    if (qevWideToAnsi(source, sourceBytes) != 1) {
      hooks_.show("转换备份目录  的编码失败，请重试！", MessageIcon::Stop);
      return EntryOutcome::EndPass;
    }
    sorrel::platform::MountPoint volume;
    std::vector<std::string> components;
    // An entry that is itself a volume root has no path below a volume to move it to.
    if (!sorrel::platform::findVolume(mounts_, sourceBytes, volume) ||
        !componentsBelowVolume(sourceBytes, volume.path, components)) {
      return EntryOutcome::Skipped;
    }
    const BackupDirectory* backup = backupFor(volume.path);
    if (backup == nullptr) return EntryOutcome::Skipped;

    const int kind = qevGetPathKind(source);
    if (kind == 3 || kind == 4) {
      outcomes_.record(storedPath, kMissingText);
      return EntryOutcome::Missing;
    }
    if (kind != 1 && kind != 2) return EntryOutcome::Skipped;
    return moveEntry(storedPath, components, volume.path, *backup);
  }

  EntryOutcome moveEntry(const std::string& storedPath, std::vector<std::string> components,
                         const std::string& volumeRoot, const BackupDirectory& backup) {
    if (components.front() == kBackupRootName) return EntryOutcome::Skipped;  // already backed up
    const std::string entry = joinedBelow(volumeRoot, components, components.size());
    // The entry is moved from its own directory, reached without following a link and on the
    // volume of the backup directory.
    const std::string name = components.back();
    components.pop_back();
    const DirectoryHandle from = DirectoryHandle::open(joinedBelow(volumeRoot, components, components.size()));
    if (!from.valid() || from.device() != backup.handle.device()) return EntryOutcome::Skipped;
    const sorrel::platform::EntryStatus status = from.look(name);
    if (status.kind != EntryKind::File && status.kind != EntryKind::Directory) return EntryOutcome::Skipped;
    // Mounts below a directory may have come since the pass began: it is checked against the
    // table as it is now.
    const bool directory = status.kind == EntryKind::Directory;
    if (status.device != from.device() ||
        sorrel::platform::hasMountPointAtOrBelow(directory ? sorrel::platform::readMountTable() : mounts_, entry)) {
      return EntryOutcome::Skipped;
    }
    if (qevMoveIntoBackup(backup, components, from, name) != DirectoryHandle::MoveResult::Moved) {
      return EntryOutcome::Skipped;
    }
    outcomes_.record(storedPath, kMovedText);
    return EntryOutcome::Moved;
  }

  const CleaningPassHooks& hooks_;
  const std::string date_;
  const std::string time_;
  const std::vector<sorrel::platform::MountPoint> mounts_;
  std::map<std::string, BackupDirectory> backups_;
  OutcomeRows outcomes_;
  CleaningPassResult result_;
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
