#pragma once
// Backups of codeplugs the user may need back: every successful read from a
// radio, and the image about to be written into a radio. They are ordinary
// codeplug files in the user's data folder, named by date and time, model and
// band, e.g. "20261208-043712_Tarvane_CB_read.dat"; the newest 100 are kept.
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

struct Program;

inline constexpr size_t kBackupsKept = 100;

enum class BackupKind { Read, Write };

// $XDG_DATA_HOME/tarvane-cps/backups, with ~/.local/share when XDG_DATA_HOME is
// unset, empty or not absolute; "" when neither it nor HOME is known.
std::string BackupFolder(const std::function<const char*(const char*)>& env = std::getenv);
// The file name of a backup made at `when` (local time). The model code keeps
// only letters, digits and '-', so a code from a radio cannot name another folder.
std::string BackupFileName(const std::tm& when, std::string_view modelCode, std::string_view band,
                           BackupKind kind);
// Backup files of the folder (only names this program makes), newest first.
std::vector<std::string> ListBackups(const std::string& folder);
// Removes all but the newest `keep` backups; other files are never touched.
void PruneBackups(const std::string& folder, size_t keep = kBackupsKept);
// Writes the working image as a codeplug into the folder (made when missing),
// then prunes. A name taken in the same second gets "-2", "-3", ... The path
// written, or "" when it could not be written.
std::string KeepBackup(Program& p, BackupKind kind, const std::string& folder,
                       std::time_t now = std::time(nullptr));

} // namespace tarvane
