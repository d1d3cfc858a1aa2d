// A fresh context per test, and small helpers to keep tests short.
#pragma once

#include "framework/include/zif.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ContextTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(zif_create(&ctx), 0); }

    void TearDown() override
    {
        for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
            zif_release(*it);
        zif_destroy(ctx);
    }

    // Keeps a new reference until the end of the test.
    zif_object *own(zif_object *object)
    {
        owned_.push_back(object);
        return object;
    }

    std::string xml(zif_object *value, int32_t indent = 0)
    {
        zif_object *text = zif_valueToXMLString(value, indent);
        std::string result = text ? zif_stringGetValue(text) : "<null>";
        zif_release(text);
        return result;
    }

    zif_object *fract(int64_t n, int64_t num, int64_t den) { return own(zif_newFract(ctx, n, num, den)); }
    zif_object *integer(int64_t v) { return own(zif_newInt(ctx, v)); }
    zif_object *real(double v) { return own(zif_newDouble(ctx, v)); }
    zif_object *text(const char *v) { return own(zif_newString(ctx, v)); }
    zif_object *interval(int32_t kind, zif_object *lower, zif_object *upper)
    {
        return own(zif_newInterval(ctx, kind, lower, upper));
    }

    zif_context *ctx = nullptr;

private:
    std::vector<zif_object *> owned_;
};

// The parts of a fract as a triple, for compact expectations.
struct FractParts {
    int64_t n, num, den;
    bool operator==(const FractParts &) const = default;
};

inline FractParts partsOf(zif_object *f)
{
    return {zif_fractGetIntegralPart(f), zif_fractGetNumerator(f), zif_fractGetDenominator(f)};
}

inline std::ostream &operator<<(std::ostream &os, const FractParts &p)
{
    return os << "(" << p.n << ", " << p.num << "/" << p.den << ")";
}
