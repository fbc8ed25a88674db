#pragma once
// Event types. An empty function means the event is detached.
#include <functional>

namespace ui {

class TObject;

enum class TMouseButton { Left, Right, Middle };

// Shift state bits of mouse events.
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;

enum class TCloseAction { None, Hide, Free, Minimize };

enum class TModalResult { None, OK, Cancel, Yes, No };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// A key pressed (its virtual key code); a handler that uses it sets key to 0.
using TKeyEvent = std::function<void(TObject* sender, unsigned& key, TShiftState shift)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// Binds a member function as a handler: Bind(this, &TfConfig::bOKClick).
template <class T, class... Args>
auto Bind(T* self, void (T::*method)(Args...))
{
    return [self, method](Args... args) { (self->*method)(args...); };
}

}  // namespace ui
