#include "app/common/file_name.h"

namespace vt::shell {

std::string FileNameWithoutExtension(const std::string &path)
{
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart)
        return path;
    return path.substr(0, dot);
}

} // namespace vt::shell
