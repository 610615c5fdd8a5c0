#include "sheet/SheetActions.h"

#include "core/FileDialogService.h"
#include "core/MessageService.h"
#include "sheet/SheetFile.h"

#include <filesystem>
#include <string>

namespace tormel {

bool SaveSheetPdfFile(const SheetDocument &document,
                      IFileDialogService &dialogs,
                      IMessageService &messages,
                      const OpenDocuments &open)
{
    namespace texts = SheetActionText;
    const std::optional<std::string> path
            = dialogs.askSaveFileName({std::string(texts::PdfFilter), "*.pdf"}, "pdf");
    if (!path)
        return false;
    if (const std::optional<std::string> conflict = OpenDocumentConflict(*path, open)) {
        messages.showError(std::string(texts::WriteFailedPrefix) + "\"" + *path
                           + "\": " + *conflict);
        return false;
    }
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(*path), ignored)
        && messages.askQuestion(std::string(texts::OverwriteQuestion), false) != MessageAnswer::Yes)
        return false;
    const FileResult written = WriteSheetPdf(*path, document);
    if (!written.Ok) {
        messages.showError(std::string(texts::WriteFailedPrefix) + "\"" + *path
                           + "\": " + written.Reason);
        return false;
    }
    return true;
}

} // namespace tormel
