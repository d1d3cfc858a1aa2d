#include "app/common/extra_ui_texts.h"

#include <iterator>

namespace vt::common {

namespace {

const char *const kExtraTexts[] = {
    /* 1000 */ "Close the clip list? Its clips, with their trims, chapters and subtitles, will be discarded.",
    /* 1001 */ "No clips yet.#1Click \"Add Clip(s)...\" below to add video files.",
    /* 1002 */ "There is no program to open this with (xdg-open is missing or failed). You can open it yourself:#1",
    /* 1003 */ "Please fill in: ",
    /* 1004 */ "The start can be at most 10 seconds before the end of the clip.",
    /* 1005 */ "The conversion had already finished; there was nothing left to stop.",
    /* 1006 */ "OK",
    /* 1007 */ "Cancel",
    /* 1008 */ "Yes",
    /* 1009 */ "No",
    /* 1010 */ "%1 MB of %2 MB",
    /* 1011 */ "Close",
    /* 1012 */ "en",
};

} // namespace

const char *ExtraUIText(int number)
{
    const int index = number - kFirstExtraText;
    if (index < 0 || index >= static_cast<int>(std::size(kExtraTexts)))
        return nullptr;
    return kExtraTexts[index];
}

} // namespace vt::common
