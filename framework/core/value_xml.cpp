// The XML text form of values, for logs, dumps and debugging. Numbers are
// written the same whatever the process locale.
#include "framework/core/container.h"

#include <charconv>
#include <new>
#include <string>

namespace {

class XmlWriter {
public:
    explicit XmlWriter(zif_context *context) : context_(context) {}

    bool write(zif_object *value, int32_t indent)
    {
        if (!zif::isValid(value) || !zif::isValueType(value->type))
            return false;
        out_.append(static_cast<size_t>(indent), ' ');
        switch (value->type) {
        case ZIF_TYPE_INT:
            out_ += "<int val=\"";
            appendInt(zif_intGetValue(value));
            out_ += "\" />";
            return true;
        case ZIF_TYPE_DOUBLE:
            out_ += "<double val=\"";
            appendFixed(zif_doubleGetValue(value));
            out_ += "\" />";
            return true;
        case ZIF_TYPE_FRACT: return writeFract(value);
        case ZIF_TYPE_STRING:
            out_ += "<string val=\"";
            appendEscaped(zif_stringGetValue(value));
            out_ += "\" />";
            return true;
        case ZIF_TYPE_DATA:
            out_ += "<data size=\"";
            appendInt(zif_dataGetSize(value));
            out_ += "\" allocated=\"";
            appendInt(zif_dataGetAllocated(value));
            out_ += "\" />";
            return true;
        case ZIF_TYPE_INTERVAL: return writeInterval(value, indent);
        case ZIF_TYPE_LIST: return writeList(value, indent);
        default: return writeTable(value, indent);
        }
    }

    const std::string &text() const { return out_; }

private:
    void appendInt(int64_t v)
    {
        char buf[24];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, r.ptr);
    }

    // printf's "%f": fixed point with six decimals.
    void appendFixed(double v)
    {
        char buf[400];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
        out_.append(buf, r.ptr);
    }

    void appendEscaped(const char *text)
    {
        for (const char *c = text; *c; ++c) {
            switch (*c) {
            case '&': out_ += "&amp;"; break;
            case '<': out_ += "&lt;"; break;
            case '>': out_ += "&gt;"; break;
            case '"': out_ += "&quot;"; break;
            default: out_ += *c;
            }
        }
    }

    bool writeFract(zif_object *value)
    {
        int64_t n = zif_fractGetIntegralPart(value);
        int64_t num = zif_fractGetNumerator(value);
        int64_t den = zif_fractGetDenominator(value);
        out_ += "<fract val=\"";
        appendFixed(static_cast<double>(num) / static_cast<double>(den) + static_cast<double>(n));
        out_ += "\" n=\"";
        appendInt(n);
        out_ += "\" num=\"";
        appendInt(num);
        out_ += "\" den=\"";
        appendInt(den);
        out_ += "\" />";
        return true;
    }

    bool writeInterval(zif_object *value, int32_t indent)
    {
        static const char *const kNames[] = {"II", "IE", "EI", "EE"};
        auto *v = reinterpret_cast<zif::IntervalValue *>(value);
        if (v->kind < 0 || v->kind > 3) {
            zif::fail(context_, ZIF_ERR_CONVERSION);
            return false;
        }
        out_ += "<interval type=\"";
        out_ += kNames[v->kind];
        out_ += "\">\n";
        if (v->lower && !write(v->lower, indent + 2))
            return false;
        out_ += "\n";
        if (v->upper && !write(v->upper, indent + 2))
            return false;
        out_ += "\n";
        out_.append(static_cast<size_t>(indent), ' ');
        out_ += "</interval>";
        return true;
    }

    bool writeList(zif_object *value, int32_t indent)
    {
        out_ += "<list>\n";
        bool ok = true;
        zif::listForEach(zif::listRecord(value), [&](zif_object *element) {
            if (!ok || !element)
                return;
            ok = write(element, indent + 2);
            out_ += "\n";
        });
        out_.append(static_cast<size_t>(indent), ' ');
        out_ += "</list>";
        return ok;
    }

    bool writeTable(zif_object *value, int32_t indent)
    {
        out_ += "<table>\n";
        bool ok = true;
        zif::tableForEach(zif::tableRecord(value), [&](int32_t key, zif_object *entry) {
            if (!ok || !entry)
                return;
            out_.append(static_cast<size_t>(indent + 2), ' ');
            out_ += "<entry name=\"";
            appendEscaped(zif_keyToName(context_, key));
            out_ += "\">";
            bool nested = entry->type == ZIF_TYPE_INTERVAL || entry->type == ZIF_TYPE_TABLE || entry->type == ZIF_TYPE_LIST;
            if (nested) {
                out_ += "\n";
                ok = write(entry, indent + 4);
                out_ += "\n";
                out_.append(static_cast<size_t>(indent + 2), ' ');
                out_ += "</entry>\n";
            } else {
                out_ += " ";
                ok = write(entry, 0);
                out_ += " </entry>\n";
            }
        });
        out_.append(static_cast<size_t>(indent), ' ');
        out_ += "</table>";
        return ok;
    }

    zif_context *context_;
    std::string out_;
};

}  // namespace

extern "C" zif_object *zif_valueToXMLString(zif_object *value, int32_t indent)
{
    if (!zif::isValid(value))
        return nullptr;
    if (!zif::isValueType(value->type) || indent < 0) {
        zif::fail(value->context, ZIF_ERR_CONVERSION);
        return nullptr;
    }
    try {
        XmlWriter writer(value->context);
        int32_t before = zif_getLastError(value->context);
        if (!writer.write(value, indent)) {
            if (zif_getLastError(value->context) == before)
                zif::fail(value->context, ZIF_ERR_CONVERSION);
            return nullptr;
        }
        if (writer.text().size() > INT32_MAX) {
            zif::fail(value->context, ZIF_ERR_NO_MEMORY);
            return nullptr;
        }
        return zif_newStringN(value->context, writer.text().data(), static_cast<int32_t>(writer.text().size()));
    } catch (const std::bad_alloc &) {
        zif::fail(value->context, ZIF_ERR_NO_MEMORY);
        return nullptr;
    }
}
