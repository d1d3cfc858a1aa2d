#include "plugins/ffmpeg/two_pass_log.h"
#include "plugins/common/plugin_errors.h"

#include <cstdint>
#include <cstring>

namespace ffplug {

TwoPassLog::~TwoPassLog() { zif_release(file_); }

bool TwoPassLog::create(zif_context *context, const std::string &uri)
{
    zif_release(file_);
    file_ = uri.empty() ? nullptr : zif_openFile(context, uri.c_str(), 1);
    if (!file_ && uri.empty())
        zif_setLastError(context, plugins::kErrMissingEntry);
    return file_ != nullptr;
}

bool TwoPassLog::readAll(zif_context *context, const std::string &uri)
{
    zif_object *file = uri.empty() ? nullptr : zif_openFile(context, uri.c_str(), 0);
    if (!file) {
        if (uri.empty())
            zif_setLastError(context, plugins::kErrMissingEntry);
        return false;
    }
    int64_t length = zif_fileGetLength(file);
    bool ok = length >= 0 && length < INT32_MAX;
    if (ok) {
        text_.assign(static_cast<size_t>(length), '\0');
        ok = length == 0 || zif_fileRead(file, text_.data(), static_cast<int32_t>(length));
    }
    zif_release(file);
    return ok;
}

bool TwoPassLog::append(const char *text)
{
    size_t n = text ? std::strlen(text) : 0;
    if (n == 0)
        return true;
    if (!file_ || !zif_fileWrite(file_, text, static_cast<int32_t>(n))) {
        if (file_)
            zif_setLastError(zif_objectGetContext(file_), plugins::kErrWrite);
        return false;
    }
    return true;
}

}  // namespace ffplug
