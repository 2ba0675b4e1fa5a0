// The single-instance rule: two copies of the program never work on the same data folder. The
// lock is a lock file in the data folder itself, so copies of different users, or of one user on
// different data, never refuse each other; a lock left by a copy that is gone is taken over.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

class QLockFile;

namespace orvane {

class InstanceLock {
public:
    enum class State {
        kHeld, // this copy owns the data folder for the whole run
        kHeldElsewhere, // another running copy works on the same data
    };

    // Takes the lock for `data_dir`, waiting up to 100 ms for a copy that is just closing. The
    // lock file is named by the application title. When the data folder cannot hold it (a folder
    // the user may not write to), the lock goes to the user's runtime folder under a name made from
    // the data folder's path.
    InstanceLock(const std::filesystem::path& data_dir, const QString& application_title);
    ~InstanceLock();

    State state() const { return state_; }
    // Where the lock file is.
    QString FilePath() const;

private:
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::kHeldElsewhere;
};

// The application title, which names the lock: the executable's name without folder and
// extension, its first character unchanged and the others in lower case.
QString ApplicationTitle(const QString& executable_path);

// "You can only have one instance of [ORVANE] running at one time."
QString SecondInstanceMessage(const QString& application_title);

} // namespace orvane
