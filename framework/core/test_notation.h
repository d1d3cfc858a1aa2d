// Builds values from a compact notation, for tables of test cases:
//   5  -3  2.5  1/2 (fract)  "text"  null
//   [a, b]            list
//   {key: v, ...}     table
//   I[0, 10]  I[0, 10)  I(0, 10]  I(_, 10]   interval (_ is a missing bound)
#pragma once

#include "framework/include/zif.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <string>

class Notation {
public:
    Notation(zif_context *context, const std::string &text) : ctx_(context), s_(text) {}

    // A new reference (null for "null"); throws on a syntax error.
    zif_object *parse()
    {
        zif_object *v = value();
        skip();
        if (i_ != s_.size())
            throw std::runtime_error("trailing text in: " + s_);
        return v;
    }

private:
    void skip()
    {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
            ++i_;
    }
    char peek()
    {
        skip();
        return i_ < s_.size() ? s_[i_] : '\0';
    }
    void expect(char c)
    {
        if (peek() != c)
            throw std::runtime_error(std::string("expected ") + c + " in: " + s_);
        ++i_;
    }

    zif_object *value()
    {
        char c = peek();
        if (c == '[')
            return list();
        if (c == '{')
            return table();
        if (c == '"')
            return string();
        if (c == 'I')
            return interval();
        if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
            return nullptr;
        }
        return number();
    }

    zif_object *list()
    {
        expect('[');
        zif_object *l = zif_newList(ctx_);
        while (peek() != ']') {
            zif_object *v = value();
            zif_listAdd(l, v);
            zif_release(v);
            if (peek() == ',')
                ++i_;
        }
        ++i_;
        return l;
    }

    zif_object *table()
    {
        expect('{');
        zif_object *t = zif_newTable(ctx_);
        while (peek() != '}') {
            size_t start = i_;
            while (i_ < s_.size() && s_[i_] != ':')
                ++i_;
            std::string key = s_.substr(start, i_ - start);
            expect(':');
            zif_object *v = value();
            zif_tableSet(t, key.c_str(), v);
            zif_release(v);
            if (peek() == ',')
                ++i_;
        }
        ++i_;
        return t;
    }

    zif_object *string()
    {
        expect('"');
        size_t end = s_.find('"', i_);
        std::string text = s_.substr(i_, end - i_);
        i_ = end + 1;
        return zif_newString(ctx_, text.c_str());
    }

    zif_object *bound()
    {
        if (peek() == '_') {
            ++i_;
            return nullptr;
        }
        return number();
    }

    zif_object *interval()
    {
        ++i_;
        bool lowerExcluded = peek() == '(';
        ++i_;
        zif_object *lower = bound();
        expect(',');
        zif_object *upper = bound();
        bool upperExcluded = peek() == ')';
        ++i_;
        zif_object *v = zif_newInterval(ctx_, (lowerExcluded ? 2 : 0) + (upperExcluded ? 1 : 0), lower, upper);
        zif_release(lower);
        zif_release(upper);
        return v;
    }

    zif_object *number()
    {
        skip();
        size_t start = i_;
        while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '-' || s_[i_] == '.' || s_[i_] == '/'))
            ++i_;
        std::string t = s_.substr(start, i_ - start);
        if (t.empty())
            throw std::runtime_error("bad value in: " + s_);
        if (size_t slash = t.find('/'); slash != std::string::npos)
            return zif_newFract(ctx_, 0, std::atoll(t.c_str()), std::atoll(t.c_str() + slash + 1));
        if (t.find('.') != std::string::npos)
            return zif_newDouble(ctx_, std::atof(t.c_str()));
        return zif_newInt(ctx_, std::atoll(t.c_str()));
    }

    zif_context *ctx_;
    std::string s_;
    size_t i_ = 0;
};
