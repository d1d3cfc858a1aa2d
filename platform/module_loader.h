// Loading a shared library by path and binding its entry points by name.
#pragma once

#include <string>

namespace vt {

// An open shared library; closed when the object goes away.
class Module {
public:
    Module() = default;
    ~Module();
    Module(Module &&other) noexcept;
    Module &operator=(Module &&other) noexcept;
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    // Opens the library at path (RTLD_NOW | RTLD_LOCAL). On failure returns
    // false and error() tells why; any library open before is closed first.
    bool open(const std::string &path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const std::string &error() const { return error_; }

    // The address of an exported symbol, or nullptr (and error() set).
    void *symbol(const char *name);

    // Binds an entry point to a typed function pointer; false when missing.
    template <typename Fn>
    bool bind(const char *name, Fn *&fn)
    {
        fn = reinterpret_cast<Fn *>(symbol(name));
        return fn != nullptr;
    }

private:
    void *handle_ = nullptr;
    std::string error_;
};

} // namespace vt
