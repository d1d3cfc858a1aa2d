#include "framework/core/test_context.h"
#include "framework/core/test_notation.h"

namespace {

class ConstraintTest : public ContextTest {
protected:
    zif_object *v(const char *notation) { return own(Notation(ctx, notation).parse()); }
};

TEST_F(ConstraintTest, Check)
{
    struct Case {
        const char *constraint, *value;
        int32_t grade;
    } cases[] = {
        {"null", "{a: 1}", 3},
        {"null", "null", 3},
        {"{a: 1}", "null", 1},
        {"[\"a\", \"b\"]", "\"b\"", 3},
        {"[\"a\"]", "\"b\"", 1},
        {"\"b\"", "[\"a\", \"b\"]", 1},
        {"[]", "1", 1},
        {"[I[0, 10], 20]", "I[5, 15]", 2},
        {"5", "5.0", 3},
        {"1/2", "0.5", 3},
        {"5", "6", 1},
        {"\"x\"", "5", 1},
        {"I[0, 10]", "10", 3},
        {"I[0, 10)", "10", 1},
        {"I(0, 10]", "0", 1},
        {"I[0, 10]", "-1/2", 1},
        {"I[-1, 0]", "-1/2", 3},
        // A missing bound is unbounded.
        {"I[_, 10]", "-1000", 3},
        {"I[0, _]", "1000000", 3},
        {"I[0, _]", "-1", 1},
        {"I[_, _]", "7", 3},
        // Interval inside, overlapping, apart.
        {"I[0, 10]", "I[2, 5]", 3},
        {"I[0, 10]", "I[0, 10]", 3},
        {"I[0, 10)", "I[0, 10]", 2},
        {"I[0, 10]", "I(0, 10)", 3},
        {"I[0, 10]", "I[5, 20]", 2},
        {"I[5, 20]", "I[0, 10]", 2},
        {"I[0, 10)", "I[10, 20]", 1},
        {"I[0, 10]", "I[10, 20]", 2},
        {"I[0, 10]", "I[11, 20]", 1},
        {"I[0, _]", "I[5, 20]", 3},
        {"I[5, 20]", "I[0, _]", 2},
        // Tables: keys of the constraint decide; extra keys of the value do not.
        {"{format: \"x\", width: 720}", "{format: \"x\"}", 2},
        {"{format: \"x\"}", "{format: \"x\", width: 720}", 3},
        {"{format: \"x\"}", "{format: \"y\"}", 1},
        {"{width: I[16, 4096]}", "{width: 720}", 3},
        {"{rate: [25, 30000/1001]}", "{rate: 30000/1001}", 3},
        {"{a: 1}", "{a: null}", 2},
        {"{a: {b: I[0, 1]}}", "{a: {b: 2}}", 1},
        {"{a: 1}", "[{a: 1}]", 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zif_constraintCheck(v(c.constraint), v(c.value)), c.grade) << c.constraint << " / " << c.value;

    zif_object *a = own(zif_newData(ctx, 0));
    zif_object *b = own(zif_newData(ctx, 0));
    zif_dataSetContents(a, "ab", 2);
    zif_dataSetContents(b, "ab", 2);
    EXPECT_EQ(zif_constraintCheck(a, b), 3);
    zif_object *overlap = nullptr;
    EXPECT_EQ(zif_constraintsMatch(a, b, &overlap), 1);
    EXPECT_EQ(overlap, nullptr);
}

TEST_F(ConstraintTest, Match)
{
    struct Case {
        const char *a, *b;
        int32_t grade;
        const char *overlap;  // null when none is produced
    } cases[] = {
        {"5", "5", 3, "5"},
        {"5", "5.0", 3, "5"},
        {"5", "6", 1, nullptr},
        {"\"x\"", "\"x\"", 3, "\"x\""},
        {"\"x\"", "5", 1, nullptr},
        {"5", "I[0, 10]", 2, "5"},
        {"I[0, 10]", "5", 2, "5"},
        {"I[0, 10)", "10", 1, nullptr},
        {"I[0, 10]", "I[5, 20]", 2, "I[5, 10]"},
        {"I[0, 10)", "I[10, 20]", 1, nullptr},
        {"I[0, 10]", "I[10, 20]", 2, "I[10, 10]"},
        {"I(0, 10]", "I[-5, 0]", 1, nullptr},
        {"I[0, 10]", "I[0, 10]", 3, "I[0, 10]"},
        {"I[0, 10]", "I(0, 10)", 2, "I(0, 10)"},
        {"I[0, 10)", "I[0, 10]", 2, "I[0, 10)"},
        {"I[_, 10]", "I[5, _]", 2, "I[5, 10]"},
        {"I[_, _]", "I[_, _]", 3, "I[_, _]"},
        {"I[_, 0)", "I[0, _]", 1, nullptr},
        {"[1, 2]", "[2, 1, 3]", 3, "[1, 2]"},
        {"[1, I[0, 5]]", "[3, 1]", 2, "[1, 3]"},
        {"[1, 4]", "[1, 2]", 1, nullptr},
        {"[]", "[1]", 3, "[]"},
        {"[1]", "[]", 1, nullptr},
        {"[1, 2]", "2", 3, "2"},
        {"3", "[I[0, 5], 3]", 3, "3"},
        {"[I[0, 5], 7]", "3", 2, "3"},
        {"[7]", "3", 1, nullptr},
        {"{a: 1, b: [2, 3]}", "{b: 3, c: 4}", 2, "{a: 1, b: 3, c: 4}"},
        {"{a: 1}", "{a: 2}", 1, nullptr},
        {"{a: 1, b: 2}", "{b: 2, a: 1}", 3, "{a: 1, b: 2}"},
        {"{w: I[16, 4096]}", "{w: [720, 5000]}", 2, "{w: 720}"},
        // An entry holding null cannot be cloned into the overlap.
        {"{a: null, b: 1}", "{b: 1}", 0, nullptr},
        {"{b: 1}", "{a: null, b: 1}", 0, nullptr},
        {"{a: 1}", "{a: null}", 2, "{a: 1}"},
        {"{a: 1}", "[{a: 2}, {a: 1, b: 2}]", 2, "{a: 1, b: 2}"},
        {"{a: 1}", "5", 1, nullptr},
    };
    zif_object *untouched = integer(-1);
    for (const Case &c : cases) {
        zif_object *overlap = untouched;
        int32_t grade = zif_constraintsMatch(v(c.a), v(c.b), &overlap);
        EXPECT_EQ(grade, c.grade) << c.a << " / " << c.b;
        if (c.overlap) {
            own(overlap);
            EXPECT_EQ(xml(overlap), xml(v(c.overlap))) << c.a << " / " << c.b;
        } else {
            EXPECT_EQ(overlap, untouched) << c.a << " / " << c.b;
        }
    }
}

TEST_F(ConstraintTest, NothingMatchesAMissingDescription)
{
    zif_object *table = v("{a: 1}");
    struct {
        zif_object *a, *b;
    } sides[] = {{nullptr, table}, {table, nullptr}, {nullptr, nullptr}};
    for (const auto &s : sides) {
        zif_clearLastError(ctx);
        zif_object *overlap = integer(-1);
        EXPECT_EQ(zif_constraintsMatch(s.a, s.b, &overlap), 0);
        EXPECT_EQ(overlap, nullptr);
        EXPECT_EQ(zif_getLastError(ctx), 0);
    }
}

TEST_F(ConstraintTest, CheckRecordsTheKeysTheValueLacks)
{
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_constraintCheck(v("{a: 1}"), v("{a: 1}")), 3);
    EXPECT_EQ(zif_getLastError(ctx), 0);
    EXPECT_EQ(zif_constraintCheck(v("{a: 1, b: 2}"), v("{a: 1}")), 2);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
}

TEST_F(ConstraintTest, OverlapSharesIntervalBoundsAndClonesTheRest)
{
    zif_object *a = v("{i: I[0, 10], s: \"x\"}");
    zif_object *b = v("{i: I[5, 20]}");
    zif_object *overlap = nullptr;
    ASSERT_EQ(zif_constraintsMatch(a, b, &overlap), 2);
    own(overlap);
    zif_object *i = own(zif_tableGet(overlap, "i"));
    zif_object *bi = own(zif_tableGet(b, "i"));
    EXPECT_EQ(own(zif_intervalGetLowerBound(i)), own(zif_intervalGetLowerBound(bi)));
    EXPECT_NE(own(zif_tableGet(overlap, "s")), own(zif_tableGet(a, "s")));
}

TEST_F(ConstraintTest, CopyDescriptionEntry)
{
    zif_object *dst = v("{}");
    ASSERT_TRUE(zif_copyDescriptionEntry(dst, v("[{w: 1}]"), "w"));
    EXPECT_EQ(zif_tableGetInt(dst, "w", 0), 1);

    zif_object *src = v("{w: 720, h: 576}");
    zif_object *alternatives = v("[{}, {w: 1}]");
    ASSERT_TRUE(zif_copyDescriptionEntry(alternatives, src, "w"));
    EXPECT_EQ(xml(alternatives), xml(v("[{w: 720}, {w: 720}]")));
    EXPECT_EQ(own(zif_tableGet(own(zif_listGet(alternatives, zif_listBegin(alternatives))), "w")),
              own(zif_tableGet(src, "w")));  // shared, not copied

    EXPECT_TRUE(zif_copyDescriptionEntry(dst, src, "absent"));
    EXPECT_FALSE(zif_tableContains(dst, "absent"));
    EXPECT_TRUE(zif_copyDescriptionEntry(v("[]"), src, "w"));

    struct {
        const char *dst, *src;
    } refused[] = {{"{}", "[]"}, {"{}", "[5]"}, {"5", "{w: 1}"}, {"{}", "5"}, {"[5]", "{w: 1}"}};
    for (const auto &r : refused) {
        zif_clearLastError(ctx);
        EXPECT_FALSE(zif_copyDescriptionEntry(v(r.dst), v(r.src), "w")) << r.dst << " <- " << r.src;
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_CONVERSION) << r.dst << " <- " << r.src;
    }
    EXPECT_FALSE(zif_copyDescriptionEntry(dst, nullptr, "w"));
}

}  // namespace
