#include "plugins/ffmpeg/audio_format.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/stream_samples.h"

#include <algorithm>
#include <cmath>

namespace ffplug {

namespace {

bool isNumber(zif_object *v)
{
    int32_t t = v ? zif_objectGetType(v) : 0;
    return t == ZIF_TYPE_INT || t == ZIF_TYPE_DOUBLE || t == ZIF_TYPE_FRACT;
}

int64_t pickFrom(zif_object *table, const char *key, int64_t wanted)
{
    zif_object *v = zif_tableGet(table, key);
    int64_t picked = audioPick(v, wanted);
    zif_release(v);
    return picked;
}

std::vector<std::string> stringsOf(zif_object *list, bool *allStrings)
{
    std::vector<std::string> out;
    *allStrings = true;
    for (zif_list_link *at = zif_listBegin(list); at != zif_listEnd(list);) {
        zif_object *e = zif_listNext(list, &at);
        if (e && zif_objectGetType(e) == ZIF_TYPE_STRING)
            out.emplace_back(zif_stringGetValue(e));
        else
            *allStrings = false;
        zif_release(e);
    }
    return out;
}

struct Alternative {
    zif_object *table;
    int64_t channels, rate, bits, isSigned;
};

// True when b is a better fit for input than a.
bool better(const Alternative &b, const Alternative &a, const AudioFormat &input)
{
    if (b.channels != a.channels) {
        bool bEnough = b.channels >= input.channels, aEnough = a.channels >= input.channels;
        if (bEnough && aEnough)
            return b.channels < a.channels;
        if (bEnough != aEnough)
            return bEnough;
        return b.channels > a.channels;
    }
    return b.rate >= a.rate && (b.rate <= input.rate || a.rate < input.rate);
}

}  // namespace

int64_t audioPick(zif_object *constraint, int64_t wanted)
{
    std::vector<int64_t> values;
    if (isNumber(constraint)) {
        values.push_back(zif_numberGetIntValue(constraint, 0));
    } else if (constraint && zif_objectGetType(constraint) == ZIF_TYPE_LIST) {
        for (zif_list_link *at = zif_listBegin(constraint); at != zif_listEnd(constraint);) {
            zif_object *e = zif_listNext(constraint, &at);
            if (isNumber(e))
                values.push_back(zif_numberGetIntValue(e, 0));
            zif_release(e);
        }
    }
    int64_t above = -1, below = -1;
    for (int64_t v : values) {
        if (v >= wanted && (above < 0 || v < above))
            above = v;
        if (v < wanted && v > below)
            below = v;
    }
    return above >= 0 ? above : below;
}

bool audioChooseOutput(zif_object *errorObject, zif_object *target, const AudioFormat &input, AudioFormat *output)
{
    std::vector<zif_object *> tables;
    if (target && zif_objectGetType(target) == ZIF_TYPE_TABLE) {
        tables.push_back(zif_addRef(target));
    } else if (target && zif_objectGetType(target) == ZIF_TYPE_LIST) {
        for (zif_list_link *at = zif_listBegin(target); at != zif_listEnd(target);) {
            zif_object *e = zif_listNext(target, &at);
            if (e && zif_objectGetType(e) == ZIF_TYPE_TABLE)
                tables.push_back(e);
            else
                zif_release(e);
        }
    }
    bool found = false;
    Alternative best{};
    for (zif_object *t : tables) {
        Alternative a{t, pickFrom(t, "channels", input.channels), pickFrom(t, "samplerate", input.rate),
                      pickFrom(t, "pcm.bitspervalue", input.bits), pickFrom(t, "pcm.signed", input.isSigned)};
        a.channels = a.channels < 1 ? input.channels : a.channels;
        a.rate = a.rate < 1 ? input.rate : a.rate;
        a.bits = a.bits < 1 ? input.bits : a.bits;
        a.isSigned = a.isSigned < 0 ? input.isSigned : a.isSigned;
        if (!found || better(a, best, input))
            best = a;
        found = true;
    }
    bool ok = found;
    if (ok) {
        output->channels = static_cast<int>(best.channels);
        output->rate = static_cast<int>(best.rate);
        output->bits = static_cast<int>(best.bits);
        output->isSigned = best.isSigned != 0;
        zif_object *ids = zif_tableGet(best.table, "channelids");
        zif_object *first = ids && zif_objectGetType(ids) == ZIF_TYPE_LIST && zif_listGetEntryCount(ids) > 0
                                ? zif_listGet(ids, zif_listBegin(ids))
                                : nullptr;
        if (first && zif_objectGetType(first) == ZIF_TYPE_LIST) {
            zif_release(ids);
            ids = zif_addRef(first);
        }
        zif_release(first);
        if (ids && zif_objectGetType(ids) == ZIF_TYPE_LIST) {
            bool allStrings = true;
            output->ids = stringsOf(ids, &allStrings);
            if (!allStrings)
                ok = plugins::fail(errorObject, plugins::kErrPlaneSize);
            output->channels = static_cast<int>(output->ids.size());
        } else if (output->channels == input.channels) {
            output->ids = input.ids;
        } else if (zif_object *standard = plugins::channelIdsFor(zif_objectGetContext(errorObject), output->channels)) {
            bool allStrings = true;
            output->ids = stringsOf(standard, &allStrings);
            zif_release(standard);
        } else {
            ok = plugins::fail(errorObject, plugins::kErrConversion);
        }
        zif_release(ids);
    } else {
        plugins::fail(errorObject, plugins::kErrConversion);
    }
    for (zif_object *t : tables)
        zif_release(t);
    return ok;
}

RatePair audioRatePair(double outRate, double inRate)
{
    const double limit = 16777216.0, ratio = outRate / inRate;
    RatePair pair{static_cast<int>(outRate), static_cast<int>(inRate)};
    for (double k = 2; std::fabs(static_cast<double>(pair.out) / pair.in - ratio) > ratio / 3600; k *= 2) {
        if (k * outRate >= limit || k * inRate >= limit)
            break;
        pair = {static_cast<int>(k * outRate), static_cast<int>(k * inRate)};
    }
    return pair;
}

std::vector<std::vector<ChannelSource>> audioChannelSources(const std::vector<std::string> &inputIds,
                                                            const std::vector<std::string> &outputIds)
{
    auto indexIn = [](const std::vector<std::string> &ids, const std::string &id) {
        auto it = std::find(ids.begin(), ids.end(), id);
        return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
    };
    std::vector<std::vector<ChannelSource>> sources(outputIds.size());
    std::vector<bool> used(inputIds.size(), false);
    int center = indexIn(inputIds, "center"), left = indexIn(inputIds, "left"), right = indexIn(inputIds, "right");
    for (size_t o = 0; o < outputIds.size(); ++o) {
        const std::string &id = outputIds[o];
        int same = indexIn(inputIds, id);
        if (same >= 0)
            sources[o] = {{same, 16384}};
        else if ((id == "left" || id == "right") && center >= 0)
            sources[o] = {{center, 16384}};
        else if (id == "center" && left >= 0 && right >= 0)
            sources[o] = {{left, 8192}, {right, 8192}};
        for (const ChannelSource &s : sources[o])
            used[static_cast<size_t>(s.input)] = true;
    }
    // Where an input channel the output does not name goes: the first of its
    // neighbours the output has, with gain 1/sqrt(2) (-3 dB), low frequencies at half.
    struct Fold {
        const char *from;
        std::vector<std::vector<const char *>> to;
        int gain;
    };
    const Fold folds[] = {
        {"center", {{"left", "right"}}, 11585},
        {"leftsurround", {{"left"}, {"center"}}, 11585},
        {"rightsurround", {{"right"}, {"center"}}, 11585},
        {"lowfreq", {{"left", "right"}, {"center"}}, 8192},
        {"left", {{"center"}}, 11585},
        {"right", {{"center"}}, 11585},
    };
    for (const Fold &f : folds) {
        int from = indexIn(inputIds, f.from);
        if (from < 0 || used[static_cast<size_t>(from)])
            continue;
        for (const auto &group : f.to) {
            bool all = true;
            for (const char *t : group)
                all = all && indexIn(outputIds, t) >= 0;
            if (!all)
                continue;
            for (const char *t : group)
                sources[static_cast<size_t>(indexIn(outputIds, t))].push_back({from, f.gain});
            break;
        }
    }
    return sources;
}

bool pcmToS16(const uint8_t *bytes, int64_t size, int bits, bool isSigned, std::vector<int16_t> *out)
{
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    int64_t width = bits / 8, count = size / width;
    out->resize(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const uint8_t *p = bytes + i * width;
        auto hi = static_cast<uint16_t>(p[width - 1] << 8);
        uint16_t v = width == 1 ? hi : static_cast<uint16_t>(hi | p[width - 2]);
        if (!isSigned)
            v = static_cast<uint16_t>(v - 0x8000);
        (*out)[static_cast<size_t>(i)] = static_cast<int16_t>(v);
    }
    return true;
}

bool pcmFromS16(const int16_t *values, int64_t count, int bits, bool isSigned, std::vector<uint8_t> *out)
{
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    size_t width = static_cast<size_t>(bits / 8), at = out->size();
    out->resize(at + static_cast<size_t>(count) * width, 0);
    for (int64_t i = 0; i < count; ++i) {
        auto v = static_cast<uint16_t>(values[i]);
        if (!isSigned)
            v = static_cast<uint16_t>(v + 0x8000);
        uint8_t *p = out->data() + at + static_cast<size_t>(i) * width;
        // The value fills the top 16 bits; lower bytes stay zero.
        p[width - 1] = static_cast<uint8_t>(v >> 8);
        if (width > 1)
            p[width - 2] = static_cast<uint8_t>(v & 0xFF);
    }
    return true;
}

}  // namespace ffplug
