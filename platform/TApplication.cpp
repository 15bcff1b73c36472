#include "TApplication.h"

#include "DiscardedQtSettings.h"
#include "LocalTimeZone.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    keepLocalTimeZoneLoaded();
    discardQtSettings();
}

void TApplication::setErrorHandler(ErrorHandler handler)
{
    errorHandler_ = std::move(handler);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        if (!errorHandler_)
            throw;
        errorHandler_(QString::fromUtf8(error.what()), typeNameOf(error));
    } catch (...) {
        if (!errorHandler_)
            throw;
        errorHandler_(QStringLiteral("Unknown error"), QStringLiteral("unknown"));
    }
    return false;
}

QString TApplication::typeNameOf(const std::exception &error)
{
    const char *mangled = typeid(error).name();
#ifdef __GNUG__
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    if (status == 0 && demangled)
        return QString::fromLatin1(demangled.get());
#endif
    return QString::fromLatin1(mangled);
}
