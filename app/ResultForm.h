#pragma once

#include <QDialog>

#include <functional>

class QTabWidget;

namespace tormel {

class IHelpService;
class MaxCurrentsPage;
struct ResultWindowModel;

// The result window: the full result of the last successful calculation on three pages
// (transformer, lines, protection device) and the analysis of how far the feed is from
// tripping its device on a fourth, with the loop and the current below them. It
// computes nothing; it shows the texts of the result window model.
class TResultForm : public QDialog
{
    Q_OBJECT

public:
    TResultForm(const ResultWindowModel &model, IHelpService &help, QWidget *parent = nullptr);

    // Shows the model's texts.
    void showState();
    // Shows the model's texts and opens the window modally, centred on the screen, at the
    // page it was closed on.
    int showModal();

signals:
    // "Печать..." and "Сохранить в PDF...": the calculation sheet of the current result.
    void printSheetRequested();
    void sheetPdfRequested();

private:
    QWidget *buildTransformerPage();
    QWidget *buildLinePage();
    QWidget *buildDefencePage();
    QWidget *buildAnalysisPage();
    QWidget *buildLoop();

    const ResultWindowModel &m_model;
    QTabWidget *m_pages = nullptr;
    MaxCurrentsPage *m_maxCurrentsPage = nullptr;
};

} // namespace tormel
