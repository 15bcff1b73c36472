#pragma once

#include <QApplication>
#include <functional>

// The application object; an error that escapes an event handler ends that handler only and
// is passed, with the run-time name of its type, to the installed handler.
class TApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorHandler = std::function<void(const QString &message, const QString &typeName)>;

    TApplication(int &argc, char **argv);
    void setErrorHandler(ErrorHandler handler);
    bool notify(QObject *receiver, QEvent *event) override;

    // The readable run-time type name of an error, e.g. "DatabaseError".
    static QString typeNameOf(const std::exception &error);

private:
    ErrorHandler errorHandler_;
};
