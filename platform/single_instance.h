// One running copy of a program per user: a lock file in the user's runtime
// folder ($XDG_RUNTIME_DIR, else the temporary folder with the user id in
// the name). The lock goes with the process, so a crashed copy does not
// block the next start.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace vt {

class SingleInstanceLock {
public:
    // name: the program's name, e.g. "vantorel".
    explicit SingleInstanceLock(const std::string &name);
    // A lock in the given file (tests).
    static SingleInstanceLock atPath(const std::string &file);
    ~SingleInstanceLock();
    SingleInstanceLock(SingleInstanceLock &&) noexcept;
    SingleInstanceLock &operator=(SingleInstanceLock &&) noexcept;

    // True when this process now holds the lock (or held it already);
    // false when another running process holds it.
    bool acquire();
    const std::string &file() const { return file_; }

private:
    struct FromPath {};
    SingleInstanceLock(FromPath, std::string file);

    std::string file_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace vt
