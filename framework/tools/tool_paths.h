// File locations the zif-run commands share.
#pragma once

#include <string>

// The folder zif-run was started from (its plug-in modules sit beside it).
std::string programFolder();
// path made absolute against the working folder: a uri without scheme.
std::string absolutePath(const std::string &path);
