#include "QtTestRegistry.h"
#include "qt/DialogBuilder.h"
#include "qt/HyperLink.h"
#include "qt/PasteEdit.h"
#include "qt/PriceListEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace {

// Base units measured here independently of the builder: the rounded average width of the
// two alphabets, and the line height.
QSize BaseUnits(const QFont& font, const QPaintDevice* device)
{
    const QFontMetrics metrics(font, device);
    const double alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize(static_cast<int>(std::lround(alphabet / 52.0)), metrics.height());
}

QRect Pixels(const QRect& units, const QSize& base)
{
    const auto x = [&](int v) { return static_cast<int>(std::lround(v * base.width() / 4.0)); };
    const auto y = [&](int v) { return static_cast<int>(std::lround(v * base.height() / 8.0)); };
    return QRect(x(units.x()), y(units.y()), x(units.width()), y(units.height()));
}

} // namespace

class DialogTemplateTest : public QObject {
    Q_OBJECT
private slots:
    void BuilderPlacesControlsInDialogUnitsOfTheFont();
    void BuilderSetsUpEachKind();
    void TabStopsAreConvertedFromDialogUnits();
};

void DialogTemplateTest::BuilderPlacesControlsInDialogUnitsOfTheFont()
{
    QDialog dialog;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.Build(dialog);
    const QSize base = BaseUnits(dialog.font(), &dialog);
    QCOMPARE(dialog.font().pointSize(), 8);
    QCOMPARE(QSize(builder.Units().BaseX(), builder.Units().BaseY()), base);

    QCOMPARE(dialog.size(), Pixels(QRect(0, 0, 506, 353), base).size());
    QCOMPARE(builder.Control(1012)->geometry(), Pixels(QRect(336, 35, 163, 295), base));
    QCOMPARE(builder.Control(1000)->geometry(), Pixels(QRect(7, 35, 324, 123), base));
    QCOMPARE(builder.Control(1)->geometry(), Pixels(QRect(7, 332, 50, 14), base));
    QCOMPARE(builder.Control(1031)->geometry(), Pixels(QRect(103, 23, 239, 8), base));
    // A drop-down list's template height includes its open list.
    const QRect combo = builder.Control(1002)->geometry();
    QCOMPARE(combo.topLeft(), Pixels(QRect(103, 7, 164, 187), base).topLeft());
    QVERIFY2(combo.height() < Pixels(QRect(0, 0, 0, 30), base).height(),
        qPrintable(QString::number(combo.height())));

    for (const CDialogControl& control : builder.Template().m_controls)
        QCOMPARE(CDialogBuilder::ControlId(builder.Control(control.nId)), control.nId);

    QDialog fixed;
    CDialogBuilder small(CDialogTemplate::Load(133));
    small.Build(fixed);
    QCOMPARE(fixed.minimumSize(), fixed.maximumSize());
    QCOMPARE(fixed.size(), Pixels(QRect(0, 0, 187, 57), base).size());
}

// The main window's own controls come from factories and are set up like built ones.
void DialogTemplateTest::BuilderSetsUpEachKind()
{
    QDialog main;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.SetFactory(1000, [](QWidget* parent) { return new CPasteEdit(parent); });
    builder.SetFactory(1012, [](QWidget* parent) { return new CPriceListEdit(parent); });
    builder.SetFactory(1031, [](QWidget* parent) { return new CHyperLink(parent); });
    builder.Build(main);

    auto* input = builder.Control<CPasteEdit>(1000);
    QVERIFY(input);
    QCOMPARE(input->isReadOnly(), false);
    QCOMPARE(input->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(input->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(input->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(builder.Control<QPlainTextEdit>(1001)->isReadOnly(), true);
    QCOMPARE(builder.Control<CPriceListEdit>(1012)->isReadOnly(), true);
    QCOMPARE(builder.Control<CHyperLink>(1031)->text(), QStringLiteral("Statisch"));

    QCOMPARE(builder.Control<QLabel>(1003)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(builder.Control<QLabel>(1010)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(builder.Control<QCheckBox>(1016));
    QCOMPARE(builder.Control<QComboBox>(1002)->isEditable(), false);
    QVERIFY(main.windowFlags() & Qt::WindowMaximizeButtonHint);
    // Only the default button takes Return when another button has the focus.
    QStringList autoDefault;
    for (const QPushButton* button : main.findChildren<QPushButton*>()) {
        if (button->autoDefault())
            autoDefault << QString::number(CDialogBuilder::ControlId(button));
    }
    QCOMPARE(autoDefault, QStringList { QStringLiteral("1") });
    QVERIFY(builder.Control<QPushButton>(1)->isDefault());

    QDialog servers;
    CDialogBuilder serverBuilder(CDialogTemplate::Load(134));
    serverBuilder.Build(servers);
    auto* serverList = serverBuilder.Control<QListWidget>(1002);
    QCOMPARE(serverList->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(serverList->isSortingEnabled(), false);

    QDialog details;
    CDialogBuilder detailsBuilder(CDialogTemplate::Load(137));
    detailsBuilder.Build(details);
    QCOMPARE(detailsBuilder.Control<QListWidget>(1029)->selectionMode(),
        QAbstractItemView::MultiSelection);

    QDialog language;
    CDialogBuilder languageBuilder(CDialogTemplate::Load(133));
    languageBuilder.Build(language);
    auto* languages = languageBuilder.Control<QListWidget>(1009);
    QCOMPARE(languages->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(languages->isSortingEnabled(), true);

    QDialog add;
    CDialogBuilder addBuilder(CDialogTemplate::Load(135));
    addBuilder.Build(add);
    QCOMPARE(addBuilder.Control<QLineEdit>(1002)->maxLength(), 128);
}

void DialogTemplateTest::TabStopsAreConvertedFromDialogUnits()
{
    QDialog dialog;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.Build(dialog);
    auto* report = builder.Control<QPlainTextEdit>(1001);
    builder.SetTabStops(*report, { 20, 95, 155, 215, 275 });

    const QSize base = BaseUnits(dialog.font(), &dialog);
    QList<qreal> positions;
    for (const QTextOption::Tab& tab : report->document()->defaultTextOption().tabs())
        positions << tab.position;
    QList<qreal> expected;
    for (int stop : { 20, 95, 155, 215, 275 })
        expected << Pixels(QRect(stop, 0, 0, 0), base).x();
    QCOMPARE(positions, expected);
}

QUOTINO_QT_TEST(DialogTemplateTest)
#include "DialogTemplateTest.moc"
