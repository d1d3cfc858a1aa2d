#include "platform/module_loader.h"

#include <dlfcn.h>

#include <utility>

namespace vt {

Module::~Module() { close(); }

Module::Module(Module &&other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

Module &Module::operator=(Module &&other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool Module::open(const std::string &path)
{
    close();
    dlerror();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char *why = dlerror();
        error_ = why ? why : "cannot open " + path;
        return false;
    }
    error_.clear();
    return true;
}

void Module::close()
{
    if (handle_) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void *Module::symbol(const char *name)
{
    if (!handle_) {
        error_ = "no library is open";
        return nullptr;
    }
    dlerror();
    void *address = dlsym(handle_, name);
    if (!address) {
        const char *why = dlerror();
        error_ = why ? why : std::string("missing entry point ") + name;
    }
    return address;
}

} // namespace vt
