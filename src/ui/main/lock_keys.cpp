#include "ui/main/lock_keys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <dlfcn.h>

namespace qm54 {

namespace {

// XkbGetIndicatorState of the libX11 that the xcb platform plugin has already loaded; looked up
// at run time so that the program does not link X11 itself.
using IndicatorQuery = int (*)(Display* display, unsigned int deviceSpec, unsigned int* state);

IndicatorQuery FindIndicatorQuery()
{
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!library) return nullptr;
    return reinterpret_cast<IndicatorQuery>(dlsym(library, "XkbGetIndicatorState"));
}

}  // namespace

std::optional<LockKeyState> QueryLockKeys()
{
#if QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return std::nullopt;
    static const IndicatorQuery query = FindIndicatorQuery();
    if (!query) return std::nullopt;
    constexpr unsigned int kUseCoreKeyboard = 0x0100;
    unsigned int state = 0;
    if (query(x11->display(), kUseCoreKeyboard, &state) != 0) return std::nullopt;
    return LockKeyState{(state & 1u) != 0, (state & 2u) != 0, (state & 4u) != 0};
#else
    return std::nullopt;
#endif
}

}  // namespace qm54
