#pragma once

namespace platform {

class Form;

// The window system beyond a single window: which forms are on screen, and
// the end of the program.
class Desktop {
  public:
    Desktop() = default;
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    virtual ~Desktop() = default;

    // Gives a form a window, which then follows the form's state. Opening a
    // form that already has one does nothing.
    virtual void open(Form& form) = 0;
    // Raises an open form's window above the others and gives it the
    // keyboard; a form without a window is left alone.
    virtual void bring_to_front(Form& form) = 0;
    // Takes the form's window away; the form may be destroyed afterwards.
    virtual void close(Form& form) = 0;
    // Blends the form's window out over the given time, then hides it;
    // returns when it is hidden.
    virtual void fade_out(Form& form, int milliseconds) = 0;
    // Ends the program once the running handler has returned.
    virtual void quit() = 0;
};

}  // namespace platform
