#pragma once
// What the skinned controls tell assistive technology (Qt's accessibility layer, which reaches AT-SPI): each
// kind's role, its name (the caption it draws, without the accelerator's "&"), its state and its actions.
// Covered so far: buttons (press), check and radio boxes (toggle), labels, link labels (jump), status
// panels and the status bar (the text as value) and the gauge (its value).

namespace dorvanel::skinctrls {

// Installs the factory once per process; every skinned control calls it when it is made.
void EnsureSkinAccessibility();

}  // namespace dorvanel::skinctrls
