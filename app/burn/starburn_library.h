// The burning library's entry points, bound from libstarburn.so in the
// program folder. A library that is missing or lacks an entry point leaves
// the object unloaded, and every device operation then answers "nothing".
#pragma once

#include "engines/burn/starburn.h"
#include "platform/module_loader.h"

#include <memory>
#include <string>

namespace vt::burn {

struct StarBurnLibrary {
    Module module;
    decltype(&StarBurn_UpStartEx) upStartEx = nullptr;
    decltype(&StarBurn_DownShut) downShut = nullptr;
    decltype(&StarBurn_AddPseudoDrive) addPseudoDrive = nullptr;
    decltype(&StarBurn_GetDeviceLetter) getDeviceLetter = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_CreateEx) createEx = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Destroy) destroy = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDeviceInformation) getDeviceInformation = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities) getDeviceCapabilities = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetInsertedDiscType) getInsertedDiscType = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_TestUnitReady) testUnitReady = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDiscInformation) getDiscInformation = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetTOCInformation) getTOCInformation = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetTrackInformation) getTrackInformation = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetDiscLabel) getDiscLabel = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetSpeeds) getSpeeds = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_SetSpeeds) setSpeeds = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes) probeSupportedWriteModes = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes) probeSupportedReadModes = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_GetBUP) getBUP = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_SetBUP) setBUP = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_SendOPC) sendOPC = nullptr;
    decltype(&StarBurn_DVDVideo_Create) dvdVideoCreate = nullptr;
    decltype(&StarBurn_DVDVideo_GetSizeInUCHARs) dvdVideoGetSize = nullptr;
    decltype(&StarBurn_DVDVideo_GetTreeNodePointer) dvdVideoGetTree = nullptr;
    decltype(&StarBurn_DVDVideo_Destroy) dvdVideoDestroy = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree) trackAtOnceFromTree = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_CloseSession) closeSession = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Blank) blank = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Eject) eject = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Load) load = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Lock) lock = nullptr;
    decltype(&StarBurn_CdvdBurnerGrabber_Release) release = nullptr;

    // Opens libraryPath and binds every entry point; nullptr (with the
    // reason in error) when that fails.
    static std::shared_ptr<StarBurnLibrary> open(const std::string &libraryPath, std::string &error);
};

inline constexpr const char *kStarBurnLibraryFile = "libstarburn.so";

} // namespace vt::burn
