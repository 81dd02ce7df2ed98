#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class CDownloadRun;
class CQuotinoApp;
class CQuotinoDlg;
class CServerListRun;
class CWaitCursor;
class IUserInterface;
class QAction;
class QLabel;

// The window's network commands: Download, Download all, the server-list update (button and
// start-up) and the import of a price list from a file. Transfers run on the fetch's worker;
// this object learns of their end through a queued call and applies every result on the
// window's thread. While a command runs the window takes no input but Escape, which stops the
// command at once, and Close, which stops it and closes as usual.
class CDownloadController : public QObject {
    Q_OBJECT
public:
    // The start-up's server-list update may not hold the first minutes of a run.
    static constexpr long kStartupListSeconds = 10;

    CDownloadController(CQuotinoDlg& window, CQuotinoApp& app, IUserInterface& ui);
    ~CDownloadController() override;

    // Puts "Import price list..." into the window's context menu, once the texts are loaded.
    void AddImportCommand();
    // After a change of language.
    void RelabelImportCommand();

    void Download();
    void DownloadAll();
    void LoadServerList(bool atStart);
    // Reads the file into the selected server; false when nothing was taken.
    bool ImportPriceList(const QString& path);
    bool IsBusy() const { return m_eCommand != ECommand::None; }

    // The date label's tooltip for the selected server; the window calls it after every
    // calculation.
    void ShowOutcome();

signals:
    void CommandFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class ECommand { None, Download, DownloadAll, ServerList };

    void Begin(ECommand command);
    void OnTransfersFinished();
    void ApplyNextServer();
    void QueueApply();
    void Stop();
    void Finish();
    void FinishServerList();
    void ChooseAndImport();
    bool FilterWhileBusy(QEvent& event);
    bool HandleDrop(QEvent& event);

    CQuotinoDlg& m_window;
    CQuotinoApp& m_app;
    IUserInterface& m_ui;
    QLabel* m_pDate;
    QLabel* m_pMarketDate;
    QAction* m_pImport;

    ECommand m_eCommand = ECommand::None;
    bool m_bApplyQueued = false;
    std::unique_ptr<CDownloadRun> m_pRun;
    std::unique_ptr<CServerListRun> m_pListRun;
    std::unique_ptr<CWaitCursor> m_pWait;
    QString m_strImportFolder; // of the last import in this run; the home folder before one
};
