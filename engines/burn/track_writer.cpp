#include "engines/burn/track_writer.h"

#include <libburn/libburn.h>

using namespace burn;

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace starburn {

namespace {

using Clock = std::chrono::steady_clock;

struct FdSource {
    int fd = -1;
    off_t size = 0;
    off_t fixedSize = 0;
    off_t delivered = 0;
    uint32_t rateKBps = 0;
    Clock::time_point started = Clock::now();
};

FdSource *sourceData(burn_source *source) { return static_cast<FdSource *>(source->data); }

int readSource(burn_source *source, unsigned char *buffer, int size)
{
    FdSource *data = sourceData(source);
    int filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(data->fd, buffer + filled, size_t(size - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return filled > 0 ? filled : -1;
        if (got == 0)
            break;
        filled += int(got);
    }
    data->delivered += filled;
    if (data->rateKBps > 0) {
        const auto due = data->started + std::chrono::microseconds(data->delivered * 1000000 /
                                                                   (int64_t(data->rateKBps) * 1024));
        std::this_thread::sleep_until(due);
    }
    return filled;
}

off_t sourceSize(burn_source *source)
{
    FdSource *data = sourceData(source);
    return data->fixedSize > 0 ? data->fixedSize : data->size;
}

int setSourceSize(burn_source *source, off_t size)
{
    sourceData(source)->fixedSize = size;
    return 1;
}

void freeSource(burn_source *source) { delete sourceData(source); }

} // namespace

std::string TakeLibburnMessages()
{
    std::string text;
    int code = 0, osErrno = 0;
    char message[BURN_MSGS_MESSAGE_LEN], severity[80];
    while (burn_msgs_obtain(const_cast<char *>("SORRY"), &code, message, &osErrno, severity) > 0) {
        if (!text.empty())
            text += "; ";
        text += message;
    }
    return text;
}

bool WriteTrack(burn_drive *drive, int fd, uint64_t size, uint32_t rateKBps, const WriteProgress &progress,
                std::string &error)
{
    TakeLibburnMessages();
    auto *data = new FdSource;
    data->fd = fd;
    data->size = off_t(size);
    data->rateKBps = rateKBps;
    auto *source = static_cast<burn_source *>(std::calloc(1, sizeof(burn_source)));
    source->refcount = 1;
    source->read = readSource;
    source->get_size = sourceSize;
    source->set_size = setSourceSize;
    source->free_data = freeSource;
    source->data = data;
    // 4 MiB of buffer between the image maker and the drive.
    burn_source *fifo = burn_fifo_source_new(source, 2048, 2048, 0);
    if (!fifo) {
        burn_source_free(source);
        error = "cannot make the write buffer";
        return false;
    }
    burn_source_free(source); // the fifo holds it now

    burn_disc *disc = burn_disc_create();
    burn_session *session = burn_session_create();
    burn_disc_add_session(disc, session, BURN_POS_END);
    burn_track *track = burn_track_create();
    burn_track_define_data(track, 0, 0, 0, BURN_MODE1);
    burn_track_set_source(track, fifo);
    burn_track_set_size(track, off_t(size));
    burn_session_add_track(session, track, BURN_POS_END);

    burn_write_opts *options = burn_write_opts_new(drive);
    burn_write_opts_set_perform_opc(options, 0);
    burn_write_opts_set_multi(options, 0);
    burn_write_opts_set_simulate(options, 0);
    burn_write_opts_set_underrun_proof(options, 1);
    char reasons[BURN_REASONS_LEN] = {};
    bool good = false;
    if (burn_write_opts_auto_write_type(options, disc, reasons, 0) == BURN_WRITE_NONE) {
        error = std::string("the drive cannot write this disc: ") + reasons;
    } else {
        burn_disc_write(options, disc);
        while (burn_drive_get_status(drive, nullptr) == BURN_DRIVE_SPAWNING)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        burn_progress state{};
        uint64_t written = 0;
        while (burn_drive_get_status(drive, &state) != BURN_DRIVE_IDLE) {
            if (state.sectors > 0 && state.sector > 0)
                written = std::max(written, std::min(size, uint64_t(state.sector) * 2048));
            if (progress)
                progress(written, size);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const bool wroteWell = burn_drive_wrote_well(drive) == 1;
        const bool whole = data->delivered == off_t(size);
        good = wroteWell && whole;
        if (!wroteWell)
            error = "the drive reported a failed write";
        else if (!whole)
            error = "the image stream ended after " + std::to_string(data->delivered) + " of " +
                    std::to_string(size) + " bytes";
        const std::string messages = TakeLibburnMessages();
        if (!good && !messages.empty())
            error += " (" + messages + ")";
        if (good && progress)
            progress(size, size);
    }
    burn_write_opts_free(options);
    burn_source_free(fifo);
    // The disc holds its own references to the session and the track.
    burn_track_free(track);
    burn_session_free(session);
    burn_disc_free(disc);
    return good;
}

} // namespace starburn
