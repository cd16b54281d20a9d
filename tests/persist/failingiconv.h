#pragma once

#include <cerrno>

#include "persist/textcodec.h"

// While it lives, every GB18030 conversion fails: at iconv_open, as on a system without
// the conversion module, or in iconv itself.
class FailingIconv
{
public:
    enum class Stage { Open, Convert };

    explicit FailingIconv(Stage stage) : m_replaced(setIconvFunctions(failing(stage))) {}
    ~FailingIconv() { setIconvFunctions(m_replaced); }

private:
    static IconvFunctions failing(Stage stage)
    {
        IconvFunctions functions;
        if (stage == Stage::Open) {
            functions.open = [](const char *, const char *) {
                errno = EINVAL;
                return iconv_t(-1);
            };
        } else {
            functions.convert = [](iconv_t, char **, size_t *, char **, size_t *) {
                errno = EBADF;
                return size_t(-1);
            };
        }
        return functions;
    }

    IconvFunctions m_replaced;
};
