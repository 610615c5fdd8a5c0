// The program's editable combo box is built without QComboBox::setEditable, which costs
// most of the main window's start-up; it must behave as a box made editable by Qt itself,
// with the completer taken off: the same sizes, the same list when it opens, no text
// completed behind the user's back.

#include "GuiTestSupport.h"

#include "app/EditableComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

class EditableComboBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sizedAndEditedAsQtsOwnEditableBox();
    void listOpensAsQtsOwnEditableBox();
    void typedTextIsNeitherCompletedNorAdded();

private:
    std::unique_ptr<QWidget> m_window;
    // A box made editable by Qt, as the program's boxes were made before.
    QComboBox *m_reference = nullptr;
    QComboBox *m_box = nullptr;
};

void EditableComboBoxTest::init()
{
    m_window = std::make_unique<QWidget>();
    QFont smaller = m_window->font();
    smaller.setPointSize(8);
    m_window->setFont(smaller);
    auto *layout = new QVBoxLayout(m_window.get());

    m_reference = new QComboBox(m_window.get());
    m_reference->setEditable(true);
    m_reference->setInsertPolicy(QComboBox::NoInsert);
    m_reference->setCompleter(nullptr);
    m_reference->setMaxVisibleItems(16);
    m_box = editableComboBox(QStringLiteral("Box"), QStringLiteral("hint"), 1, m_window.get());

    // More items than the list shows at once, so that it scrolls.
    QStringList items;
    for (int i = 0; i < 30; ++i)
        items << QStringLiteral("%1 мм").arg(10 * i);
    for (QComboBox *box : {m_reference, m_box}) {
        box->addItems(items);
        box->setEditText(QStringLiteral("20 мм"));
        layout->addWidget(box);
    }
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void EditableComboBoxTest::cleanup()
{
    m_window.reset();
}

void EditableComboBoxTest::sizedAndEditedAsQtsOwnEditableBox()
{
    QVERIFY(m_box->isEditable());
    QCOMPARE(m_box->objectName(), QStringLiteral("Box"));
    QCOMPARE(m_box->statusTip(), QStringLiteral("hint"));
    QCOMPARE(m_box->sizeHint(), m_reference->sizeHint());
    QCOMPARE(m_box->minimumSizeHint(), m_reference->minimumSizeHint());
    QCOMPARE(m_box->size(), m_reference->size());
    QCOMPARE(m_box->focusPolicy(), m_reference->focusPolicy());
    QCOMPARE(m_box->testAttribute(Qt::WA_InputMethodEnabled), true);

    QLineEdit *edit = m_box->lineEdit();
    QLineEdit *referenceEdit = m_reference->lineEdit();
    QCOMPARE(edit->geometry(), referenceEdit->geometry());
    QCOMPARE(edit->hasFrame(), referenceEdit->hasFrame());
    QCOMPARE(edit->contextMenuPolicy(), referenceEdit->contextMenuPolicy());
    QCOMPARE(edit->focusProxy(), m_box);
    QCOMPARE(edit->text(), QStringLiteral("20 мм"));
    QCOMPARE(edit->palette(), referenceEdit->palette());
    QCOMPARE(m_box->completer(), nullptr);
    QCOMPARE(edit->completer(), nullptr);
}

void EditableComboBoxTest::listOpensAsQtsOwnEditableBox()
{
    for (int time = 0; time < 2; ++time) {
        QStringList opened;
        for (QComboBox *box : {m_reference, m_box}) {
            box->showPopup();
            const QAbstractItemView *view = box->view();
            QVERIFY(view->isVisible());
            opened << QString::fromLatin1(box->itemDelegate()->metaObject()->className())
                   << QString::number(view->verticalScrollBarPolicy())
                   << QString::number(view->horizontalScrollBarPolicy())
                   << QStringLiteral("%1x%2").arg(view->width()).arg(view->height())
                   << QStringLiteral("%1x%2")
                              .arg(view->parentWidget()->width())
                              .arg(view->parentWidget()->height())
                   << QString::number(view->textElideMode());
            box->hidePopup();
        }
        QCOMPARE(opened.mid(6), opened.mid(0, 6));
        QCOMPARE(opened[1], QString::number(Qt::ScrollBarAsNeeded));
    }

    // A pick from the list is the box's text.
    QSignalSpy activated(m_box, &QComboBox::activated);
    QVERIFY(pickItem(m_box, QStringLiteral("250 мм")));
    QCOMPARE(m_box->currentText(), QStringLiteral("250 мм"));
    QCOMPARE(activated.size(), 1);
}

void EditableComboBoxTest::typedTextIsNeitherCompletedNorAdded()
{
    QLineEdit *edit = m_box->lineEdit();
    retype(edit, QStringLiteral("2"));
    QCOMPARE(m_box->currentText(), QStringLiteral("2"));
    typeText(edit, QStringLiteral("5"));
    QCOMPARE(m_box->currentText(), QStringLiteral("25"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(m_box->currentText(), QStringLiteral("25"));
    QCOMPARE(m_box->count(), 30);
}

QTEST_MAIN(EditableComboBoxTest)
#include "EditableComboBoxTest.moc"
