#include "app/production/author_script.h"

#include "app/production/xml_text.h"

#include <gtest/gtest.h>

namespace vt::production {
namespace {

std::string text(const AuthorScriptInput &in)
{
    std::string joined;
    for (const std::string &line : MakeAuthorScript(in).lines)
        joined += line + "\n";
    return joined;
}

AuthorScriptClip clip(const std::string &vob, int32_t length = 60)
{
    AuthorScriptClip c;
    c.vobFile = vob;
    c.length = length;
    return c;
}

TEST(AuthorScript, OneClipNoMenus)
{
    AuthorScriptInput in;
    in.dest = "/out/DVD_DISC";
    in.pal = true;
    in.clips = {clip("/out/OutputVOB_0.vob")};
    EXPECT_EQ(text(in), R"(<dvdauthor dest="/out/DVD_DISC" format="pal">
  <vmgm>
  </vmgm>
  <titleset>
      <titles>
         <video format="pal" aspect="4:3"
                resolution="720x576"
                />
         <audio format="ac3"
                quant="16bps" dolby="surround"
                samplerate="48khz" lang="EN"/>
          <subpicture lang="EN"/>
        <pgc>
          <vob file="/out/OutputVOB_0.vob" />
          <post>jump title 1;</post>
        </pgc>
      </titles>
  </titleset>
</dvdauthor>
)");
}

TEST(AuthorScript, WideSubtitledChaptersNtsc)
{
    AuthorScriptInput in;
    in.dest = "/out/X";
    in.wide = true;
    in.menuLanguageCode = "FR";
    AuthorScriptClip first = clip("/o/a.vob", 1200);
    first.hasChapterPage = true;
    first.start = 30;
    // Unsorted, with a duplicate, one at the clip's end and one before its start.
    first.chapterTimes = {30, 930, 330, 330, 1230, 10};
    AuthorScriptClip second = clip("/o/b.vob");
    second.subtitleExists = true;
    second.subtitleLanguageCode = "DE";
    AuthorScriptClip third = clip("/o/c.vob");
    third.hasChapterPage = true;
    third.chapterTimes = {0};  // one chapter button: a plain vob line
    in.clips = {first, second, third};
    EXPECT_EQ(text(in), R"(<dvdauthor dest="/out/X" format="ntsc">
  <vmgm>
  </vmgm>
  <titleset>
      <titles>
         <video format="ntsc" aspect="16:9"
                resolution="720x480"
                widescreen="nopanscan" />
         <audio format="ac3"
                quant="16bps" dolby="surround"
                samplerate="48khz" lang="FR"/>
          <subpicture lang="DE"/>
        <pgc>
          <vob file="/o/a.vob" chapters="0, 00:05:00.00, 00:15:00.00" />
          <post>jump title 2 ;</post>
        </pgc>
        <pgc>
          <pre> subtitle=64; </pre>
          <vob file="/o/b.vob" />
          <post>jump title 3 ;</post>
        </pgc>
        <pgc>
          <vob file="/o/c.vob" />
          <post>jump title 1;</post>
        </pgc>
      </titles>
  </titleset>
</dvdauthor>
)");
}

TEST(AuthorScript, ThreeClipsTitleMenuWithoutRootMenu)
{
    AuthorScriptInput in;
    in.dest = "/out/D";
    in.pal = true;
    in.workFolder = "/w/";
    in.titleMenuMade = true;
    in.backButtonsPossible = true;
    for (const char *vob : {"/o/0.vob", "/o/1.vob", "/o/2.vob"}) {
        in.clips.push_back(clip(vob));
        in.clips.back().hasTitleButton = true;
    }
    in.clips[1].hasChapterPage = true;
    in.clips[1].chapterTimes = {0, 20};
    in.clips[1].chapterMenuMade = true;
    const AuthorScript script = MakeAuthorScript(in);
    EXPECT_FALSE(script.rootMenuWritten);
    EXPECT_TRUE(script.titlesetMenusWritten);
    const std::string all = text(in);
    EXPECT_NE(all.find("  <vmgm>\n  </vmgm>\n  <titleset>\n      <menus lang=\"EN\">\n"), std::string::npos);
    EXPECT_NE(all.find("         <pre> button = 1024; </pre>\n        <vob file=\"/w/Title.vob\" pause=\"inf\"/>\n"
                       "        <button> jump title 1; </button>\n        <button> jump menu 2; </button>\n"
                       "        <button> jump title 3; </button>\n         </pgc>\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("         <pgc>\n         <pre> button = 2048; </pre>\n"
                       "        <vob file=\"/w/Chapter_1.vob\" pause=\"inf\"/>\n"
                       "          <button> jump menu 1 ; </button>\n"
                       "        <button> jump title 2 chapter 1 ; </button>\n"
                       "        <button> jump title 2 chapter 2 ; </button>\n         </pgc>\n      </menus>\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("<vob file=\"/o/0.vob\" />\n          <post>jump title 2 ;</post>"), std::string::npos);
    EXPECT_NE(all.find("<vob file=\"/o/2.vob\" />\n        <post>call menu;</post>"), std::string::npos);
}

TEST(AuthorScript, RootMenuWithMusicAndBackButton)
{
    AuthorScriptInput in;
    in.dest = "/out/D";
    in.workFolder = "/w/";
    in.rootMenuVob = "/p/RES/MainSubN.vob";
    in.titleMenuMade = true;
    in.titleMenuHasMusic = true;
    in.backButtonsPossible = true;
    in.clips = {clip("/o/0.vob")};
    in.clips[0].hasTitleButton = true;
    const std::string all = text(in);
    EXPECT_NE(all.find("        <vob file=\"/p/RES/MainSubN.vob\" pause=\"10\"/>\n"
                       "          <post> jump titleset 1 menu ; </post>\n"
                       "        <button> jump title 1 ;</button>\n"
                       "        <button> jump titleset 1 menu ;</button>\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("         <pre> button = 2048; </pre>\n        <vob file=\"/w/Title.vob\" pause=\"2\"/>\n"
                       "          <post> jump menu 1; </post>\n          <button> jump vmgm menu ; </button>\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("          <post>call vmgm menu;</post>"), std::string::npos);
}

TEST(AuthorScript, ChapterMenuButtonsJumpOnlyToChaptersThatExist)
{
    AuthorScriptInput in;
    in.dest = "/out/D";
    in.workFolder = "/w/";
    in.titleMenuMade = true;
    AuthorScriptClip trimmed = clip("/o/0.vob", 600);
    trimmed.hasTitleButton = true;
    trimmed.hasChapterPage = true;
    trimmed.chapterMenuMade = true;
    trimmed.start = 100;
    // Set before the clip was trimmed to 100-700: one time repeats, one now
    // lies past the end, one before the start.
    trimmed.chapterTimes = {100, 400, 400, 900, 50, 200};
    in.clips = {trimmed};
    const std::string all = text(in);
    EXPECT_NE(all.find("chapters=\"0, 00:01:40.00, 00:05:00.00\""), std::string::npos) << all;
    EXPECT_NE(all.find("        <button> jump title 1 chapter 1 ; </button>\n"
                       "        <button> jump title 1 chapter 3 ; </button>\n"
                       "        <button> jump title 1 chapter 3 ; </button>\n"
                       "        <button> jump title 1 chapter 3 ; </button>\n"
                       "        <button> jump title 1 chapter 1 ; </button>\n"
                       "        <button> jump title 1 chapter 2 ; </button>\n"),
              std::string::npos)
        << all;
}

TEST(AuthorScript, ChapterMenusAreNumberedOverOneList)
{
    // The first clip has a chapter menu but no title-menu button: the title
    // menu's button of the third clip still opens that clip's own menu.
    AuthorScriptInput in;
    in.dest = "/out/D";
    in.workFolder = "/w/";
    in.titleMenuMade = true;
    for (const char *vob : {"/o/0.vob", "/o/1.vob", "/o/2.vob"})
        in.clips.push_back(clip(vob));
    for (int i : {0, 2}) {
        in.clips[i].hasChapterPage = true;
        in.clips[i].chapterTimes = {0, 20};
        in.clips[i].chapterMenuMade = true;
    }
    in.clips[1].hasTitleButton = true;
    in.clips[2].hasTitleButton = true;
    in.clips[2].chapterMenuHasMusic = true;
    const std::string all = text(in);
    EXPECT_NE(all.find("        <button> jump title 2; </button>\n        <button> jump menu 3; </button>\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("<vob file=\"/w/Chapter_2.vob\" pause=\"2\"/>\n        <post> jump menu 3; </post>\n"),
              std::string::npos)
        << all;
}

TEST(AuthorScript, PathsAreEscaped)
{
    AuthorScriptInput in;
    in.dest = "/home/ann/Tom & \"Jerry\" <1>/DVD_DISC";
    in.clips = {clip("/home/ann/Café/l'été.vob")};
    const std::string all = text(in);
    EXPECT_NE(all.find("dest=\"/home/ann/Tom &amp; &quot;Jerry&quot; &lt;1&gt;/DVD_DISC\""), std::string::npos);
    EXPECT_NE(all.find("<vob file=\"/home/ann/Café/l&apos;été.vob\" />"), std::string::npos);
}

TEST(XmlText, CrLfLines)
{
    EXPECT_EQ(JoinCrLf({"a", " b"}), "a\r\n b\r\n");
}

} // namespace
} // namespace vt::production
