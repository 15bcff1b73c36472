#pragma once

#include "SimServer.h"
#include "TRadioGroup.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "WindowUnderTest.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

// The real window, offscreen, in its own working directory and home folder, with scripted
// boxes and the clock stopped so that panel 1 keeps what Connect wrote.
struct ConnectWindow : WindowUnderTest {
    ConnectWindow() { window->tmExit.stop(); }

    QString panel(int index) const { return window->sbStatus->panelText(index); }

    // Fills the strip and presses Connect; odbcDsn picks the provider box.
    void connect(const QString &server, const QString &password, bool odbcDsn)
    {
        window->edSRV->setEditText(server);
        window->edPassword->setText(password);
        if (window->cbODBC->isChecked() != odbcDsn)
            window->cbODBC->click();
        window->bbtConnect->click();
        settle();
    }

    QStringList items(const QComboBox *box) const
    {
        QStringList all;
        for (int i = 0; i < box->count(); ++i)
            all << box->itemText(i);
        return all;
    }

};

// The statements the program sent a server from `mark` on, mark being an earlier count of
// the logged batches; the driver's own requests (type information) are left out.
inline QStringList batchesSince(const SimServer &server, qsizetype mark)
{
    QStringList sent = server.loggedBatches().mid(mark);
    sent.removeIf([](const QString &batch) { return !batch.startsWith(QStringLiteral("/**/")); });
    return sent;
}
