#pragma once

namespace ui {

// The standard edit commands a menu can offer to the first responder.
enum class EditAction { Cut, Copy, Paste, Select, SelectAll, Delete };

// A mix-in for widgets that take part in the first-responder chain: at most
// one responder is first at a time, and the shared copy menu sends its
// commands to that one. Qt's keyboard focus is not used because a label
// that shows a copy menu must not steal focus from an editor.
class Responder {
public:
    virtual ~Responder();

    virtual bool canBecomeFirstResponder() const { return false; }
    // Makes this the first responder if it may be one and the current one
    // lets go; answers whether it is first now.
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const { return firstResponder() == this; }

    virtual bool canPerformAction(EditAction) const { return false; }
    virtual void performAction(EditAction) {}

    static Responder* firstResponder();
};

} // namespace ui
