#include "ui/Responder.h"

namespace ui {

namespace {
Responder* s_firstResponder = nullptr;
} // namespace

Responder::~Responder()
{
    if (s_firstResponder == this)
        s_firstResponder = nullptr;
}

Responder* Responder::firstResponder()
{
    return s_firstResponder;
}

bool Responder::becomeFirstResponder()
{
    if (s_firstResponder == this)
        return true;
    if (!canBecomeFirstResponder())
        return false;
    if (s_firstResponder && !s_firstResponder->resignFirstResponder())
        return false;
    s_firstResponder = this;
    return true;
}

bool Responder::resignFirstResponder()
{
    if (s_firstResponder == this)
        s_firstResponder = nullptr;
    return true;
}

} // namespace ui
