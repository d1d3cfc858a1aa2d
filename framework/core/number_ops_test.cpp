#include "framework/core/test_context.h"

#include <cmath>
#include <cstdint>

namespace {

using NumberTest = ContextTest;

TEST_F(NumberTest, AddAndMultiplyAcrossKinds)
{
    auto asDouble = [&](zif_object *v) {
        EXPECT_EQ(zif_objectGetType(v), ZIF_TYPE_DOUBLE);
        return zif_doubleGetValue(v);
    };
    EXPECT_EQ(asDouble(own(zif_numberAdd(integer(2), real(0.5)))), 2.5);
    EXPECT_EQ(asDouble(own(zif_numberAdd(fract(0, 1, 2), real(0.25)))), 0.75);
    EXPECT_EQ(asDouble(own(zif_numberAdd(real(0.25), fract(1, 1, 2)))), 1.75);
    EXPECT_EQ(asDouble(own(zif_numberMul(fract(1, 1, 2), real(2.0)))), 3.0);
    EXPECT_EQ(asDouble(own(zif_numberMul(integer(3), real(0.5)))), 1.5);

    EXPECT_EQ(partsOf(own(zif_numberAdd(integer(2), fract(0, 1, 2)))), (FractParts{2, 1, 2}));
    EXPECT_EQ(partsOf(own(zif_numberAdd(fract(0, -1, 2), integer(2)))), (FractParts{1, 1, 2}));
    EXPECT_EQ(partsOf(own(zif_numberAdd(fract(0, 1, 3), fract(0, 2, 3)))), (FractParts{1, 0, 1}));
    EXPECT_EQ(partsOf(own(zif_numberMul(integer(3), fract(0, 1, 2)))), (FractParts{1, 1, 2}));
    EXPECT_EQ(partsOf(own(zif_numberMul(fract(0, -1, 3), integer(3)))), (FractParts{-1, 0, 1}));
    EXPECT_EQ(partsOf(own(zif_numberMul(fract(1, 1, 2), fract(1, 1, 2)))), (FractParts{2, 1, 4}));
    EXPECT_EQ(partsOf(own(zif_numberMul(fract(-1, -1, 2), fract(0, 2, 3)))), (FractParts{-1, 0, 1}));

    // Integer arithmetic wraps around instead of overflowing.
    EXPECT_EQ(zif_intGetValue(own(zif_numberAdd(integer(INT64_MAX), integer(1)))), INT64_MIN);
    EXPECT_EQ(zif_intGetValue(own(zif_numberMul(integer(INT64_MAX), integer(2)))), -2);
}

TEST_F(NumberTest, FractProductThatOverflowsIsApproximatedOrRefused)
{
    // Each intermediate product of the exact formula overflows 128 bits.
    zif_object *a = fract(1, INT64_MAX - 1, INT64_MAX);
    zif_object *product = own(zif_numberMul(a, a));
    ASSERT_NE(product, nullptr);
    EXPECT_NEAR(zif_numberGetDoubleValue(product, 0), 4.0, 1e-6);
    EXPECT_EQ(zif_fractGetDenominator(product) & ((1 << 28) - 1), 0);

    EXPECT_EQ(zif_numberMul(fract(INT64_MAX / 2, 0, 1), fract(4, 0, 1)), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(NumberTest, SubNegateInvert)
{
    EXPECT_EQ(partsOf(own(zif_numberSub(fract(0, 1, 2), integer(1)))), (FractParts{0, -1, 2}));
    EXPECT_EQ(zif_doubleGetValue(own(zif_numberSub(integer(5), real(0.5)))), 4.5);
    EXPECT_EQ(zif_intGetValue(own(zif_numberSub(integer(5), integer(7)))), -2);

    EXPECT_EQ(zif_intGetValue(own(zif_numberNegate(integer(INT64_MIN)))), INT64_MIN);
    EXPECT_EQ(partsOf(own(zif_numberNegate(fract(2, 1, 2)))), (FractParts{-2, -1, 2}));
    EXPECT_EQ(zif_doubleGetValue(own(zif_numberNegate(real(1.5)))), -1.5);

    EXPECT_EQ(partsOf(own(zif_numberInvert(integer(4)))), (FractParts{0, 1, 4}));
    zif_object *one = own(zif_numberInvert(integer(1)));
    EXPECT_EQ(zif_objectGetType(one), ZIF_TYPE_INT);
    EXPECT_EQ(zif_intGetValue(one), 1);
    EXPECT_EQ(zif_doubleGetValue(own(zif_numberInvert(real(4.0)))), 0.25);
    EXPECT_EQ(partsOf(own(zif_numberInvert(fract(0, 1, 3)))), (FractParts{3, 0, 1}));

    for (zif_object *zero : {integer(0), real(0.0)}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_numberInvert(zero), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_numberInvert(text("x")), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), 0);
}

TEST_F(NumberTest, NonNumbersAreInvalidArguments)
{
    struct {
        zif_object *(*op)(zif_object *, zif_object *);
    } ops[] = {{zif_numberAdd}, {zif_numberSub}, {zif_numberMul}};
    for (auto op : ops) {
        zif_clearLastError(ctx);
        EXPECT_EQ(op.op(nullptr, integer(1)), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
        zif_clearLastError(ctx);
        EXPECT_EQ(op.op(integer(1), text("1")), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    EXPECT_EQ(zif_numberNegate(text("1")), nullptr);
}

TEST_F(NumberTest, ConversionsToInt)
{
    struct Case {
        zif_object *value;
        int64_t expected;
    } cases[] = {
        {integer(-7), -7},   {real(2.5), 3},         {real(-2.5), -2},       {real(2.49), 2},
        {fract(2, 1, 2), 3}, {fract(0, -1, 2), 0},   {fract(-1, -2, 3), -2}, {real(1e300), INT64_MAX},
        {real(-1e300), INT64_MIN}, {real(NAN), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zif_numberGetIntValue(c.value, 99), c.expected);
    EXPECT_EQ(zif_numberGetIntValue(nullptr, 99), 99);
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(zif_numberGetIntValue(text("5"), 99), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(NumberTest, ConversionsToDoubleAndFract)
{
    EXPECT_EQ(zif_numberGetDoubleValue(fract(0, 1, 4), 0), 0.25);
    EXPECT_EQ(zif_numberGetDoubleValue(fract(-1, -1, 4), 0), -1.25);
    EXPECT_EQ(zif_numberGetDoubleValue(integer(3), 0), 3.0);
    EXPECT_EQ(zif_numberGetDoubleValue(nullptr, 1.5), 1.5);
    EXPECT_EQ(zif_numberGetDoubleValue(text("x"), 1.5), 1.5);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);

    zif_object *fallback = fract(9, 0, 1);
    EXPECT_EQ(partsOf(own(zif_numberGetFractValue(integer(3), fallback))), (FractParts{3, 0, 1}));
    EXPECT_EQ(partsOf(own(zif_numberGetFractValue(real(2.75), fallback))), (FractParts{2, 3, 4}));
    zif_object *f = fract(0, 1, 3);
    EXPECT_EQ(own(zif_numberGetFractValue(f, fallback)), f);
    EXPECT_EQ(own(zif_numberGetFractValue(text("x"), fallback)), fallback);
    EXPECT_EQ(own(zif_numberGetFractValue(nullptr, fallback)), fallback);
    EXPECT_EQ(own(zif_numberGetFractValue(real(NAN), fallback)), fallback);
}

}  // namespace
