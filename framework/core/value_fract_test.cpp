#include "framework/core/test_context.h"

#include <cmath>
#include <cstdint>

namespace {

using FractTest = ContextTest;

TEST_F(FractTest, NormalisationGivesOneCanonicalForm)
{
    struct Case {
        int64_t n, num, den;
        FractParts expected;
    } cases[] = {
        {1, 3, 2, {2, 1, 2}},
        {5, 0, 7, {5, 0, 1}},
        {0, 0, -5, {0, 0, 1}},
        {3, 6, 4, {4, 1, 2}},
        {0, 7, 3, {2, 1, 3}},
        {0, -7, 3, {-2, -1, 3}},
        {1, -1, 2, {0, 1, 2}},
        {-2, 1, 2, {-1, -1, 2}},
        // Values between -1 and 0 keep n = 0 and a negative numerator.
        {0, -1, 2, {0, -1, 2}},
        {-1, 1, 2, {0, -1, 2}},
        {0, 2, -4, {0, -1, 2}},
        {INT64_MAX, 1, 2, {INT64_MAX, 1, 2}},
        {0, INT64_MIN, INT64_MAX, {-1, -1, INT64_MAX}},
    };
    for (const Case &c : cases) {
        zif_object *f = fract(c.n, c.num, c.den);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(partsOf(f), c.expected) << c.n << " " << c.num << "/" << c.den;
        // Canonical: building it again from its own parts changes nothing.
        FractParts p = partsOf(f);
        EXPECT_EQ(partsOf(fract(p.n, p.num, p.den)), p);
        zif_object *clone = nullptr;
        ASSERT_TRUE(zif_valueClone(f, &clone));
        EXPECT_TRUE(zif_valueEquals(clone, f));
        EXPECT_EQ(zif_valueCompare(clone, f), 0);
        zif_release(clone);
    }
}

TEST_F(FractTest, ZeroDenominatorAndOverflowAreRefused)
{
    EXPECT_EQ(zif_newFract(ctx, 0, 0, 0), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    zif_clearLastError(ctx);
    // INT64_MAX + 3/2 does not fit: refused, not wrapped around.
    EXPECT_EQ(zif_newFract(ctx, INT64_MAX, 3, 2), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(FractTest, FromDoubleIsExactOverPowersOfTwo)
{
    EXPECT_EQ(partsOf(own(zif_newFractFromDouble(ctx, 2.75))), (FractParts{2, 3, 4}));
    EXPECT_EQ(partsOf(own(zif_newFractFromDouble(ctx, -0.5))), (FractParts{0, -1, 2}));
    EXPECT_EQ(partsOf(own(zif_newFractFromDouble(ctx, -2.25))), (FractParts{-2, -1, 4}));
    EXPECT_EQ(partsOf(own(zif_newFractFromDouble(ctx, 7.0))), (FractParts{7, 0, 1}));

    zif_object *tenth = own(zif_newFractFromDouble(ctx, 0.1));
    FractParts p = partsOf(tenth);
    EXPECT_EQ(p.n, 0);
    EXPECT_EQ(p.den & (p.den - 1), 0) << "power of two expected, got " << p.den;
    EXPECT_EQ(static_cast<double>(static_cast<long double>(p.num) / p.den), 0.1);

    // Fractional parts below 2^-62 are cut off.
    EXPECT_EQ(partsOf(own(zif_newFractFromDouble(ctx, 1e-30))), (FractParts{0, 0, 1}));

    for (double bad : {double(NAN), double(INFINITY), 1e19}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_newFractFromDouble(ctx, bad), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
}

TEST_F(FractTest, AddSubNegateInvert)
{
    EXPECT_EQ(partsOf(own(zif_fractAdd(fract(0, 1, 3), fract(0, 1, 6)))), (FractParts{0, 1, 2}));
    EXPECT_EQ(partsOf(own(zif_fractAdd(fract(1, 1, 2), fract(-2, -1, 4)))), (FractParts{0, -3, 4}));
    EXPECT_EQ(partsOf(own(zif_fractSub(fract(0, 1, 2), fract(1, 0, 1)))), (FractParts{0, -1, 2}));
    EXPECT_EQ(partsOf(own(zif_fractSub(fract(0, 1, 30000), fract(0, 1, 1001)))), (FractParts{0, -28999, 30030000}));
    EXPECT_EQ(partsOf(own(zif_fractNegate(fract(2, 1, 2)))), (FractParts{-2, -1, 2}));
    EXPECT_EQ(partsOf(own(zif_fractInvert(fract(2, 1, 2)))), (FractParts{0, 2, 5}));
    EXPECT_EQ(partsOf(own(zif_fractInvert(fract(0, -1, 2)))), (FractParts{-2, 0, 1}));

    EXPECT_EQ(zif_fractInvert(fract(0, 0, 1)), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(FractTest, AddWithHugeDenominatorsFallsBackToTwoToThe28)
{
    // 2^36+1 times 2^36+3 overflows 64 bits.
    zif_object *sum = own(zif_fractAdd(fract(0, int64_t{1} << 35, (int64_t{1} << 36) + 1),
                                       fract(0, int64_t{1} << 35, (int64_t{1} << 36) + 3)));
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(partsOf(sum), (FractParts{0, (1 << 28) - 1, 1 << 28}));
}

}  // namespace
