// Fonts and drawing need a GUI application; no display is needed for drawing into pictures and
// PDF files, so without a platform of the caller's choice the offscreen one stands in.
#pragma once

#ifdef VELTROK_CLI_WITH_QT

#include <QGuiApplication>
#include <memory>

// An application for the drawing commands; empty when one exists already.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

#endif
