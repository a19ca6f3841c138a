#include "qt/QSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <optional>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#endif

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Problem(const QString& fileName, const char* doing, bool formatError) {
    return std::string("The settings file \"") + fileName.toStdString() + "\" cannot be " + doing +
           (formatError ? ": it is not in a readable form." : ": access was refused.");
}

std::string Problem(const QSettings& settings, const char* doing) {
    return Problem(settings.fileName(), doing, settings.status() == QSettings::FormatError);
}

#ifndef _WIN32
// The modification time as QSettings sees it: whole milliseconds.
std::optional<long long> ModifiedMilliseconds(const QString& file) {
    struct stat info {};
    if (stat(QFile::encodeName(file).constData(), &info) != 0) return std::nullopt;
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

void SetModifiedMilliseconds(const QString& file, long long milliseconds) {
    timespec times[2] = {{0, UTIME_OMIT}, {milliseconds / 1000, (milliseconds % 1000) * 1000000}};
    utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0);
}

// An exclusive lock on the folder of a settings file, taken by every copy of the program while
// it writes there. The system drops it if the holder dies; a holder that hangs makes the write
// fail after a few seconds rather than hang the writer. Another copy that keeps writing is no
// hung holder: while the file keeps changing the wait goes on, so that no value is lost to a
// busy peer on a loaded machine.
class FolderLock {
  public:
    explicit FolderLock(const QString& file) {
        const QString folder = QFileInfo(file).absolutePath();
        QDir().mkpath(folder);
        fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        auto deadline = std::chrono::steady_clock::now() + kPatience;
        std::optional<long long> seen = ModifiedMilliseconds(file);
        while (fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            const auto now = std::chrono::steady_clock::now();
            if (const auto changed = ModifiedMilliseconds(file); changed != seen) {
                seen = changed;
                deadline = now + kPatience;
            }
            if (why != EWOULDBLOCK || now > deadline) {
                ::close(fd_);
                fd_ = -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return fd_ >= 0; }

  private:
    static constexpr std::chrono::seconds kPatience{5};
    int fd_ = -1;
};
#endif

}  // namespace

std::unique_ptr<QSettings> QSettingsStore::open(const std::string& app,
                                                const std::string& section) const {
    if (folder_.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Q(app),
                                           Q(section));
    }
    return std::make_unique<QSettings>(folder_ + "/" + Q(app) + "/" + Q(section) + ".conf",
                                       QSettings::IniFormat);
}

std::string QSettingsStore::read(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& fallback) {
    auto settings = open(app, section);
    if (settings->status() != QSettings::NoError) throw SettingsError(Problem(*settings, "read"));
    const QVariant value = settings->value(Q(key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

// QSettings keeps each file it has read in a process-wide cache and reads it again only when
// its size or modification time (in milliseconds) has changed. Two versions of one size written
// within one tick of the file system's clock look alike, so a copy of the program could read a
// stale value, or write its own key over a file it wrongly takes as unchanged and lose the other
// copy's value. Every write therefore leaves a modification time later than the version before,
// under a lock that all copies take.
void QSettingsStore::write(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& text) {
    auto settings = open(app, section);
#ifndef _WIN32
    const QString file = settings->fileName();
    const FolderLock order(file);
    if (!order.held()) throw SettingsError(Problem(file, "written", false));
    const auto before = ModifiedMilliseconds(file);
#endif
    settings->setValue(Q(key), Q(text));
    // Written through at once: other running copies of the program read the same store.
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw SettingsError(Problem(*settings, "written"));
#ifndef _WIN32
    const auto after = ModifiedMilliseconds(file);
    if (before && after && *after <= *before) SetModifiedMilliseconds(file, *before + 1);
#endif
}
