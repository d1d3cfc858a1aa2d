#include "app/production/conversion_chain.h"

#include "app/project/clip_record.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "platform/ini_file.h"

namespace vt::production {

namespace {

using common::kNoFileText;

} // namespace

ConversionChain::ConversionChain(ProductionRun &run, project::ClipRecordList &clips)
    : run_(run)
    , clips_(clips)
    , conversion_(run, clips, ClipConversion::VobsAreResults)
{
}

int ConversionChain::run(const RunChoices &choices)
{
    if (clips_.empty()) {
        run_.view().showMessage(common::GetUIText(kNoFileText));
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

bool DeinterlaceByDefault(const project::ClipRecordList &clips)
{
    for (int i = 0; i < clips.count(); ++i)
        if (clips[i].interlaced)
            return true;
    return false;
}

bool StoreVideoFormatChoice(bool ntscChecked, common::Settings &settings, const std::string &optionIniPath)
{
    if (ntscChecked == settings.ntsc)
        return true;
    settings.ntsc = ntscChecked;
    return IniFile(optionIniPath)
        .writeBool(common::kOptionSection, common::optionKey(&common::Settings::ntsc), ntscChecked);
}

} // namespace vt::production
