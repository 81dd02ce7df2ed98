#include "ui/DialogBuilder.h"
#include "ui/HyperLink.h"
#include "ui/PasteEdit.h"
#include "ui/PriceListEdit.h"

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
    void EmbeddedTemplatesLoad_data();
    void EmbeddedTemplatesLoad();
    void ParseReadsTextEscapesOptionsAndComments();
    void ParseRejectsMalformedLines_data();
    void ParseRejectsMalformedLines();
    void BuilderPlacesControlsInDialogUnitsOfTheFont();
    void BuilderSetsUpEachKind();
    void OnlyTheDefaultButtonIsAutoDefault();
    void FactoryMadeControlsAreSetUpLikeBuiltOnes();
    void TabStopsAreConvertedFromDialogUnits();
};

void DialogTemplateTest::EmbeddedTemplatesLoad_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("controls");
    QTest::addColumn<bool>("resizable");
    QTest::newRow("main window") << 102 << "Pirk Prozent" << QSize(506, 353) << 18 << true;
    QTest::newRow("about") << 130 << QString::fromUtf8("Über Quotino...") << QSize(235, 64) << 6
                           << false;
    QTest::newRow("language") << 133 << "Language" << QSize(187, 57) << 3 << false;
    QTest::newRow("server") << 134 << "Server" << QSize(186, 170) << 4 << false;
    QTest::newRow("add server") << 135 << QString::fromUtf8("Hinzufügen") << QSize(186, 46) << 4
                                << false;
    QTest::newRow("update") << 136 << QString::fromUtf8("Über Quotino...") << QSize(260, 74) << 5
                            << false;
    QTest::newRow("details") << 137 << "Details" << QSize(200, 105) << 6 << false;
}

void DialogTemplateTest::EmbeddedTemplatesLoad()
{
    QFETCH(int, id);
    QFETCH(QString, title);
    QFETCH(QSize, size);
    QFETCH(int, controls);
    QFETCH(bool, resizable);
    // Loading from the resources also proves they are linked into this program.
    const CDialogTemplate dialog = CDialogTemplate::Load(id);
    QCOMPARE(dialog.m_nId, id);
    QCOMPARE(dialog.m_strTitle, title);
    QCOMPARE(dialog.m_size, size);
    QCOMPARE(static_cast<int>(dialog.m_controls.size()), controls);
    QCOMPARE(dialog.m_bResizable, resizable);
    QCOMPARE(dialog.m_nPointSize, 8);
}

void DialogTemplateTest::ParseReadsTextEscapesOptionsAndComments()
{
    const QString text = QStringLiteral("# a comment\r\n"
                                        "dialog 7 100 50\r\n"
                                        "title \"Say \\\"hi\\\" \\\\ there\"   # trailing comment\n"
                                        "font 9 \"Some Sans\"\n"
                                        "\n"
                                        "edit 1000 1 2 30 40 \"\" multiline readonly vscroll\n"
                                        "label -1 5 6 7 8 \"# not a comment\"\n"
                                        "label -1 5 16 7 8 \"second unnamed\"\n"
                                        "edit 1002 7 20 115 12 \"x\" maxlength=128\n");
    QString error;
    const std::optional<CDialogTemplate> dialog = CDialogTemplate::Parse(text, &error);
    QVERIFY2(dialog.has_value(), qPrintable(error));
    QCOMPARE(dialog->m_nId, 7);
    QCOMPARE(dialog->m_strTitle, QStringLiteral("Say \"hi\" \\ there"));
    QCOMPARE(dialog->m_strFontFamily, QStringLiteral("Some Sans"));
    QCOMPARE(dialog->m_nPointSize, 9);
    QCOMPARE(static_cast<int>(dialog->m_controls.size()), 4);

    const CDialogControl& edit = dialog->m_controls[0];
    QCOMPARE(edit.kind, CDialogControl::Edit);
    QCOMPARE(edit.rect, QRect(1, 2, 30, 40));
    QCOMPARE(edit.nStyle,
        CDialogControl::Multiline | CDialogControl::ReadOnly | CDialogControl::VScroll);
    QCOMPARE(dialog->m_controls[1].strText, QStringLiteral("# not a comment"));
    QCOMPARE(dialog->Find(1002)->nMaxLength, 128);
    QCOMPARE(dialog->Find(4711), nullptr);
}

void DialogTemplateTest::ParseRejectsMalformedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown kind") << "slider 1 0 0 1 1 \"\""
                                  << "line 3: unknown kind \"slider\"";
    QTest::newRow("unquoted text") << "label 1 0 0 1 1 text"
                                   << "line 3: the text must be quoted";
    QTest::newRow("missing text")
        << "label 1 0 0 1 1"
        << "line 3: a control needs kind, id, left, top, width, height and text";
    QTest::newRow("unterminated") << "label 1 0 0 1 1 \"open"
                                  << "line 3: unterminated string";
    QTest::newRow("not a number") << "label 1 0 x 1 1 \"\""
                                  << "line 3: id and rectangle must be numbers";
    QTest::newRow("negative size") << "label 1 0 0 -1 1 \"\""
                                   << "line 3: id and rectangle must be numbers";
    QTest::newRow("unknown option") << "label 1 0 0 1 1 \"\" blink"
                                    << "line 3: unknown option \"blink\"";
    QTest::newRow("bad limit") << "edit 1 0 0 1 1 \"\" maxlength=0"
                               << "line 3: unknown option \"maxlength=0\"";
    QTest::newRow("duplicate id") << "label 5 0 0 1 1 \"\"\nlabel 5 0 0 1 1 \"\""
                                  << "line 4: control id 5 used twice";
    QTest::newRow("bad style") << "style fixed"
                               << "line 3: expected: style resizable";
    QTest::newRow("font without size") << "font \"Sans\""
                                       << "line 3: expected: font <points> \"<family>\"";
}

void DialogTemplateTest::ParseRejectsMalformedLines()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    QString error;
    QVERIFY(
        !CDialogTemplate::Parse(QStringLiteral("dialog 1 10 10\ntitle \"t\"\n") + line, &error));
    QCOMPARE(error, message);

    QVERIFY(!CDialogTemplate::Parse(QStringLiteral("label 1 0 0 1 1 \"\""), &error));
    QCOMPARE(error, QStringLiteral("line 1: the first line must be the dialog line"));
    QVERIFY(!CDialogTemplate::Parse(QStringLiteral("# nothing\n"), &error));
    QCOMPARE(error, QStringLiteral("no dialog line"));
}

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

void DialogTemplateTest::BuilderSetsUpEachKind()
{
    QDialog main;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.Build(main);
    QCOMPARE(main.windowTitle(), QStringLiteral("Pirk Prozent"));

    auto* input = builder.Control<QPlainTextEdit>(1000);
    QVERIFY(input);
    QCOMPARE(input->isReadOnly(), false);
    QCOMPARE(input->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(input->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(input->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(builder.Control<QPlainTextEdit>(1001)->isReadOnly(), true);
    QCOMPARE(builder.Control<QPlainTextEdit>(1012)->isReadOnly(), true);

    auto* date = builder.Control<QLabel>(1003);
    QCOMPARE(date->text(), QStringLiteral("Daten von: "));
    QCOMPARE(date->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(builder.Control<QLabel>(1010)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(builder.Control<QCheckBox>(1016)->text(), QStringLiteral("<= Bauernhofpreis"));
    QCOMPARE(builder.Control<QPushButton>(2)->text(), QString::fromUtf8("Schließen"));
    QCOMPARE(builder.Control<QComboBox>(1002)->isEditable(), false);
    QVERIFY(main.windowFlags() & Qt::WindowMaximizeButtonHint);

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

void DialogTemplateTest::OnlyTheDefaultButtonIsAutoDefault()
{
    QDialog dialog;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.Build(dialog);
    QStringList autoDefault;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->autoDefault())
            autoDefault << QString::number(CDialogBuilder::ControlId(button));
    }
    QCOMPARE(autoDefault, QStringList { QStringLiteral("1") });
    QVERIFY(builder.Control<QPushButton>(1)->isDefault());
}

void DialogTemplateTest::FactoryMadeControlsAreSetUpLikeBuiltOnes()
{
    QDialog dialog;
    CDialogBuilder builder(CDialogTemplate::Load(102));
    builder.SetFactory(1000, [](QWidget* parent) { return new CPasteEdit(parent); });
    builder.SetFactory(1012, [](QWidget* parent) { return new CPriceListEdit(parent); });
    builder.SetFactory(1031, [](QWidget* parent) { return new CHyperLink(parent); });
    builder.Build(dialog);

    auto* input = builder.Control<CPasteEdit>(1000);
    QVERIFY(input);
    QCOMPARE(input->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(input->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    auto* pane = builder.Control<CPriceListEdit>(1012);
    QVERIFY(pane);
    QCOMPARE(pane->isReadOnly(), true);
    auto* link = builder.Control<CHyperLink>(1031);
    QVERIFY(link);
    QCOMPARE(link->text(), QStringLiteral("Statisch"));
    QCOMPARE(CDialogBuilder::ControlId(link), 1031);
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

QTEST_MAIN(DialogTemplateTest)
#include "DialogTemplateTest.moc"
