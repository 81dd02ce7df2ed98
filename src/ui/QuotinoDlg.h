#pragma once

#include "calc/OfferCalculator.h"
#include "ui/ColumnStops.h"
#include "ui/ControlAnchors.h"
#include "ui/DialogBuilder.h"
#include "ui/QtTranslation.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class CDownloadController;
class CHyperLink;
class QAction;
class CPasteEdit;
class CPriceListEdit;
class CQuotinoApp;
class IClipboard;
class IUserInterface;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
struct NMPRICELINE;

// The program's only window: the shopping list, the report, the price list pane and the
// server box. It loads the configuration when it is created, forwards every command to the
// core and shows the texts the calculator returns.
class CQuotinoDlg : public QDialog {
    Q_OBJECT
public:
    // ui and clipboard default to the desktop's; tests pass their own. If the configuration
    // does not load, the window closes as soon as it runs.
    explicit CQuotinoDlg(CQuotinoApp& app, IUserInterface* ui = nullptr,
        IClipboard* clipboard = nullptr, QWidget* parent = nullptr);
    ~CQuotinoDlg() override;

    QWidget* Control(int id) const { return m_builder.Control(id); }
    template <class T> T* Control(int id) const { return m_builder.Control<T>(id); }
    bool IsInitialised() const { return m_bInitialised; }
    // The template size, made smaller where the screen's available area is smaller.
    QSize MinimumSize() const { return m_minSize; }

    // Shows the report, the price list pane and both date labels for the current input.
    void Calculate();
    // Offers the selected servers and picks the stored one, which recalculates.
    void FillServerCombo();
    // Replaces the whole input with the clipboard's list and calculates once, afterwards.
    void PasteList();

    // The selected server's effective prices afresh, then Calculate.
    void RecalculatePrices();
    QString SelectedServer() const;
    // The next cancel command (Escape) leaves the window open: the key stopped a download.
    void IgnoreNextCancel() { m_bIgnoreCancel = true; }
    CDownloadController& Downloads() const { return *m_pDownloads; }

    // Return and the Calculate button: recalculate; the window stays open.
    void accept() override;
    // Escape and the Close button; swallowed once after Download all was stopped.
    void reject() override;

signals:
    // After every calculation.
    void Calculated();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    // Puts a list from the clipboard into the input, without calculating; false without one.
    bool TakeListFromClipboard(bool atStart = false);
    void ConnectCommands();
    void OnInitDialog();
    void AddAboutCommand();
    void AddLanguageCommand();
    QSize AvailableSize() const;
    void RestoreWindowSize();
    void PlaceFrameOnScreen();
    void ApplyTexts();
    void Relabel();
    void ShowLinkLine();
    void SetToolTips();
    void SetTabOrder();
    void RecalcLayout();

    void OnServerChange();
    void OnDownload();
    void OnDownloadAll();
    void OnLoadServerList();
    void OnTogglePriceList();
    void OnMaxFarm(bool checked);
    void OnSelectServers();
    void OnDetails();
    void OnEditPrice(const NMPRICELINE& line);
    void OnAbout();
    void OnChangeLanguage();

    CQuotinoApp& m_app;
    std::unique_ptr<IUserInterface> m_pOwnUi;
    std::unique_ptr<IClipboard> m_pOwnClipboard;
    IUserInterface* m_pUi;
    IClipboard* m_pClipboard;

    COfferCalculator m_calc;
    CDialogBuilder m_builder;
    CControlAnchors m_anchors;
    CQtTranslation m_qtTranslation;
    std::unique_ptr<CDownloadController> m_pDownloads;

    CPasteEdit* m_pInput = nullptr;
    QPlainTextEdit* m_pReport = nullptr;
    CPriceListEdit* m_pPriceList = nullptr;
    QComboBox* m_pServers = nullptr;
    QLabel* m_pDate = nullptr;
    QLabel* m_pMarketDate = nullptr;
    QCheckBox* m_pLocked = nullptr;
    QCheckBox* m_pMaxFarm = nullptr;
    CHyperLink* m_pLink = nullptr;
    QAction* m_pAboutAction = nullptr;
    QAction* m_pLanguageAction = nullptr;

    QRect m_rcInput;
    QRect m_rcReport;
    // The report's and the price list's columns, once the window has set them up.
    std::optional<CColumnStops> m_reportStops;
    std::optional<CColumnStops> m_priceListStops;
    QSize m_templateSize; // where the anchored controls were recorded
    QSize m_minSize; // the smallest the window gets
    QSize m_restoredSize; // as opened: closing at this size leaves the stored size alone
    bool m_bInitialised = false;
    bool m_bFramePlaced = false; // once the window manager's frame is known
    bool m_bIgnoreCancel = false;
};
