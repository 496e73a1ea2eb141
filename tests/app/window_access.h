#pragma once
// Tests reach the main window's controls by their names, as any tool that drives the window would.
#include "app/main_window.h"

#include <gtest/gtest.h>

namespace dorvanel::test {

template <class T>
T* Control(QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// The window's frame (its client area holds the controls).
inline skinctrls::TSkinFrame* Frame(QWidget& window) { return Control<skinctrls::TSkinFrame>(window, "SkinFrame1"); }

}  // namespace dorvanel::test
