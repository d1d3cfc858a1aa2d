#include "platform/single_instance.h"

#include "platform/paths.h"

#include <QLockFile>
#include <cstdlib>
#include <unistd.h>

namespace vt {

namespace {

std::string runtimeFolder()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isWritableFolder(runtime))
        return withTrailingSlash(runtime);
    const char *tmp = std::getenv("TMPDIR");
    return withTrailingSlash(tmp && tmp[0] == '/' ? tmp : "/tmp");
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const std::string &name)
    : SingleInstanceLock(FromPath {}, runtimeFolder() + name + "-" + std::to_string(::getuid()) + ".lock")
{
}

SingleInstanceLock::SingleInstanceLock(FromPath, std::string file)
    : file_(std::move(file))
    , lock_(std::make_unique<QLockFile>(QString::fromStdString(file_)))
{
    // Never treat a held lock as stale by age: only a dead owner frees it.
    lock_->setStaleLockTime(0);
}

SingleInstanceLock SingleInstanceLock::atPath(const std::string &file)
{
    return SingleInstanceLock(FromPath {}, file);
}

SingleInstanceLock::~SingleInstanceLock() = default;
SingleInstanceLock::SingleInstanceLock(SingleInstanceLock &&) noexcept = default;
SingleInstanceLock &SingleInstanceLock::operator=(SingleInstanceLock &&) noexcept = default;

bool SingleInstanceLock::acquire()
{
    return lock_->isLocked() || lock_->tryLock(0);
}

} // namespace vt
