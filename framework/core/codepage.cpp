// Conversion of UTF-8 text to the character set of the user's locale.
#include "framework/core/text.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace {

// The LC_CTYPE character set named by the environment, without touching the
// process's own locale.
std::string localeCharset()
{
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (!locale)
        return "ANSI_X3.4-1968";
    std::string charset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return charset;
}

size_t utf16Length(const zif_char16 *text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

}  // namespace

namespace zif {

char *utf8ToLocaleCharset(zif_context *context, const char *text)
{
    zif_char16 *wide = zif_utf8ToUTF16(context, text);
    if (!wide)
        return nullptr;
    iconv_t cd = iconv_open(localeCharset().c_str(), __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? "UTF-16LE" : "UTF-16BE");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        zif_free(context, wide);
        fail(context, ZIF_ERR_CONVERSION);
        return nullptr;
    }
    size_t inLeft = utf16Length(wide) * sizeof(zif_char16);
    std::string out;
    out.resize(inLeft * 2 + 16);
    char *in = reinterpret_cast<char *>(wide);
    char *outPtr = out.data();
    size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        size_t used = static_cast<size_t>(outPtr - out.data());
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
    }
    if (ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        ok = false;  // the shift back to the initial state did not fit or failed
    iconv_close(cd);
    zif_free(context, wide);
    size_t used = static_cast<size_t>(outPtr - out.data());
    if (!ok || used >= INT32_MAX) {
        fail(context, ZIF_ERR_CONVERSION);
        return nullptr;
    }
    return zif_copyStringN(context, out.data(), static_cast<int32_t>(used));
}

}  // namespace zif
