#include "app/DeleteAllReportForm.h"

#include "app/FormStyle.h"
#include "report/ReportTexts.h"
#include "session/TormelSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tormel {

namespace {

constexpr int ClientWidth = 294;
constexpr int ClientHeight = 114;
constexpr int ButtonWidth = 88; // the least width of the two buttons

} // namespace

TDeleteAllReportForm::TDeleteAllReportForm(TormelSession &session, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    namespace texts = report_texts;
    setObjectName(QStringLiteral("DeleteAllReportForm"));
    setWindowTitle(qs(texts::DeleteAllCaption));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    auto *question = new QLabel(qs(texts::DeleteAllQuestion), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setAlignment(Qt::AlignCenter);
    question->setWordWrap(true);
    layout->addWidget(question, 1);

    auto *ok = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogOkButton), qs(texts::DeleteAllOkText), this);
    ok->setObjectName(QStringLiteral("OKBitBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OKBitBtnClick(); });
    // The cancel button has the toolkit's own caption, which is English here as well.
    auto *cancel = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(centredButtonRow({ok, cancel}, ButtonWidth));

    setFixedSize(ClientWidth, ClientHeight);
}

int TDeleteAllReportForm::showModal()
{
    centreOnScreen(this);
    return exec();
}

void TDeleteAllReportForm::OKBitBtnClick()
{
    m_session.ClearReport();
    accept();
}

} // namespace tormel
