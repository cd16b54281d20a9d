#pragma once

#include <cerrno>

#include "persist/textcodec.h"

// While it lives, every GB18030 conversion fails: at iconv_open, as on a system without
// the conversion module, or in iconv itself.
class FailingIconv
{
public:
    enum class Stage { Open, Convert };

    explicit FailingIconv(Stage stage)
        : m_replaced(setIconvFunctions(stage == Stage::Open ? failingOpen() : failingConvert()))
    {}
    ~FailingIconv() { setIconvFunctions(m_replaced); }
    FailingIconv(const FailingIconv &) = delete;
    FailingIconv &operator=(const FailingIconv &) = delete;

private:
    static IconvFunctions failingOpen()
    {
        IconvFunctions functions;
        functions.open = [](const char *, const char *) {
            errno = EINVAL;
            return reinterpret_cast<iconv_t>(-1);
        };
        return functions;
    }
    static IconvFunctions failingConvert()
    {
        IconvFunctions functions;
        functions.convert = [](iconv_t, char **, size_t *, char **, size_t *) {
            errno = EBADF;
            return size_t(-1);
        };
        return functions;
    }

    IconvFunctions m_replaced;
};
