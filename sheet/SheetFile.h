#pragma once

#include "core/FileAccess.h"
#include "sheet/SheetRenderer.h"

#include <QGuiApplication>

#include <memory>
#include <string>

namespace tormel {

// Writes the document as a PDF file, replacing `path` only once the whole file is built.
FileResult WriteSheetPdf(const std::string &path, const SheetDocument &document);

// The fonts of a sheet need a QGuiApplication. A program without windows gets one on the
// offscreen platform, so that no display is needed; none when the program has one already.
std::unique_ptr<QGuiApplication> OffscreenGuiApplication();

} // namespace tormel
