#pragma once

#include "core/OutputTargets.h"
#include "sheet/SheetRenderer.h"

#include <string_view>

namespace tormel {

class IFileDialogService;
class IMessageService;

namespace SheetActionText {

inline constexpr std::string_view PrintItem = "Печать...";
inline constexpr std::string_view PdfItem = "Сохранить в PDF...";
inline constexpr std::string_view PrintHint = "Печать расчетного листа";
inline constexpr std::string_view PdfHint = "Сохранение расчетного листа в файл PDF";
inline constexpr std::string_view ReportPrintHint = "Печать отчета";
inline constexpr std::string_view ReportPdfHint = "Сохранение отчета в файл PDF";
inline constexpr std::string_view PdfFilter = "PDF (*.pdf)";
inline constexpr std::string_view OverwriteQuestion = "Такой файл уже существует. Переписать файл?";
inline constexpr std::string_view WriteFailedPrefix = "Не удалось записать файл ";

} // namespace SheetActionText

// "Сохранить в PDF...": asks for the file, asks before replacing an existing one and
// writes the document; a failure is shown as a message. True when the file was written.
// The open feed file and report file are never replaced by a sheet.
bool SaveSheetPdfFile(const SheetDocument &document,
                      IFileDialogService &dialogs,
                      IMessageService &messages,
                      const OpenDocuments &open = {});

} // namespace tormel
