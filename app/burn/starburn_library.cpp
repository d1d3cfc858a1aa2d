#include "app/burn/starburn_library.h"

namespace vt::burn {

std::shared_ptr<StarBurnLibrary> StarBurnLibrary::open(const std::string &libraryPath, std::string &error)
{
    auto lib = std::make_shared<StarBurnLibrary>();
    if (!lib->module.open(libraryPath)) {
        error = lib->module.error();
        return nullptr;
    }
    Module &m = lib->module;
    const bool bound =
        m.bind("StarBurn_UpStartEx", lib->upStartEx) && m.bind("StarBurn_DownShut", lib->downShut) &&
        m.bind("StarBurn_AddPseudoDrive", lib->addPseudoDrive) &&
        m.bind("StarBurn_GetDeviceLetter", lib->getDeviceLetter) &&
        m.bind("StarBurn_CdvdBurnerGrabber_CreateEx", lib->createEx) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Destroy", lib->destroy) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetDeviceInformation", lib->getDeviceInformation) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities", lib->getDeviceCapabilities) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetInsertedDiscType", lib->getInsertedDiscType) &&
        m.bind("StarBurn_CdvdBurnerGrabber_TestUnitReady", lib->testUnitReady) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetDiscInformation", lib->getDiscInformation) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetTOCInformation", lib->getTOCInformation) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetTrackInformation", lib->getTrackInformation) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetDiscLabel", lib->getDiscLabel) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetSpeeds", lib->getSpeeds) &&
        m.bind("StarBurn_CdvdBurnerGrabber_SetSpeeds", lib->setSpeeds) &&
        m.bind("StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes", lib->probeSupportedWriteModes) &&
        m.bind("StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes", lib->probeSupportedReadModes) &&
        m.bind("StarBurn_CdvdBurnerGrabber_GetBUP", lib->getBUP) &&
        m.bind("StarBurn_CdvdBurnerGrabber_SetBUP", lib->setBUP) &&
        m.bind("StarBurn_CdvdBurnerGrabber_SendOPC", lib->sendOPC) &&
        m.bind("StarBurn_DVDVideo_Create", lib->dvdVideoCreate) &&
        m.bind("StarBurn_DVDVideo_GetSizeInUCHARs", lib->dvdVideoGetSize) &&
        m.bind("StarBurn_DVDVideo_GetTreeNodePointer", lib->dvdVideoGetTree) &&
        m.bind("StarBurn_DVDVideo_Destroy", lib->dvdVideoDestroy) &&
        m.bind("StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree", lib->trackAtOnceFromTree) &&
        m.bind("StarBurn_CdvdBurnerGrabber_CloseSession", lib->closeSession) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Blank", lib->blank) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Eject", lib->eject) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Load", lib->load) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Lock", lib->lock) &&
        m.bind("StarBurn_CdvdBurnerGrabber_Release", lib->release);
    if (!bound) {
        error = m.error();
        return nullptr;
    }
    return lib;
}

} // namespace vt::burn
