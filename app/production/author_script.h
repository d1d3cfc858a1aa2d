// The dvdauthor project file "author.xml": a pure text generator over what
// the run knows about its clips and menus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt::production {

struct AuthorScriptClip {
    std::string vobFile;
    bool subtitleExists = false;
    std::string subtitleLanguageCode;  // used for the first clip with a subtitle
    bool hasTitleButton = false;
    bool hasChapterPage = false;
    std::vector<int32_t> chapterTimes;  // source seconds of the chapter buttons, in order
    int32_t start = 0;                  // trim start, second of the source
    int32_t length = 0;                 // end − start
    bool chapterMenuMade = false;  // this run made "{work}Chapter_{i}.vob"
    bool chapterMenuHasMusic = false;
};

struct AuthorScriptInput {
    std::string dest;  // the DVD folder, without a trailing separator
    bool pal = false;
    bool wide = false;  // 16:9
    std::string menuLanguageCode = "EN";
    std::string workFolder;    // ending with a separator
    std::string rootMenuVob;   // "" when the root menu is not possible
    bool titleMenuMade = false;  // this run made "{work}Title.vob"
    bool titleMenuHasMusic = false;
    bool backButtonsPossible = false;
    std::vector<AuthorScriptClip> clips;
};

struct AuthorScript {
    std::vector<std::string> lines;  // with their indentation
    bool rootMenuWritten = false;
    bool titlesetMenusWritten = false;
};

AuthorScript MakeAuthorScript(const AuthorScriptInput &input);

// A DVD title holds at most this many chapters (program entries of its PGC).
inline constexpr int kMaxChaptersPerTitle = 99;

// The chapter attribute's times after the first chapter, relative to the
// clip's start: sorted, without duplicates, inside (0, length).
std::vector<int32_t> ChapterOffsets(const AuthorScriptClip &clip);

// The chapter a chapter-menu button plays: the one its time falls in. A button
// whose time was dropped from the chapter list (a duplicate, or outside the
// trimmed clip) still jumps to a chapter that exists.
int ChapterOfButton(const AuthorScriptClip &clip, size_t button);

} // namespace vt::production
