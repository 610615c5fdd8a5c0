#pragma once

#include "core/FileAccess.h"
#include "sheet/SheetRenderer.h"

#include <memory>
#include <string>

class QPdfWriter;

namespace tormel {

class PreparedFileDevice;

// A PDF file of sheets written while a run makes them: each sheet is painted into the
// prepared file as it comes and forgotten, so that a run of any length keeps only the
// page being painted. The file takes its target's place only through
// CommitPreparedFiles, together with the run's other outputs. Needs a QGuiApplication.
class SheetPdfStream
{
public:
    SheetPdfStream();
    ~SheetPdfStream();
    SheetPdfStream(const SheetPdfStream &) = delete;
    SheetPdfStream &operator=(const SheetPdfStream &) = delete;

    // Checks the target and prepares its new file; nothing is painted yet.
    FileResult Create(const std::string &path);
    void Add(const CalculationSheet &sheet);
    void Add(const ReportSheet &sheet);
    // Ends the document and says whether every byte reached the file.
    FileResult Finish();
    PreparedFile &File() { return m_file; }

private:
    // The writer starts with the first sheet, whose title is the document's.
    void start(const std::string &title);

    PreparedFile m_file;
    std::unique_ptr<PreparedFileDevice> m_device;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<SheetPages> m_pages;
};

} // namespace tormel
