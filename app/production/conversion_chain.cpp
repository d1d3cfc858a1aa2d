#include "app/production/conversion_chain.h"

#include "app/project/clip_record.h"
#include "app/shell/settings.h"
#include "app/shell/ui_language.h"
#include "platform/ini_file.h"

namespace vt::production {

namespace {

using shell::kNoFileText;

} // namespace

ConversionChain::ConversionChain(ProductionRun &run, project::ClipInfo &clips)
    : run_(run)
    , clips_(clips)
    , conversion_(run, clips, ClipConversion::VobsAreResults)
{
}

int ConversionChain::run(const RunChoices &choices)
{
    if (clips_.empty()) {
        run_.view().showMessage(shell::GetUIText(kNoFileText));
        return kOutcomeNone;
    }
    if (!run_.PrepareRun(choices, ClipSourceFiles(clips_))) {
        run_.EndRun(kConversionParameterWrong);
        return run_.outcome();
    }
    if (conversion_.ConvertAll())
        run_.EndRun(kProcessFinish);
    return run_.outcome();
}

bool DeinterlaceByDefault(const project::ClipInfo &clips)
{
    for (int i = 0; i < clips.count(); ++i)
        if (clips[i].interlaced)
            return true;
    return false;
}

bool StoreVideoFormatChoice(bool ntscChecked, shell::Settings &settings, const std::string &optionIniPath)
{
    if (ntscChecked == settings.b_VideoForamt)
        return true;
    settings.b_VideoForamt = ntscChecked;
    return IniFile(optionIniPath)
        .writeBool(shell::kOptionSection, shell::optionKey(&shell::Settings::b_VideoForamt), ntscChecked);
}

} // namespace vt::production
