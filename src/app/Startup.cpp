#include "app/Startup.h"

#include <QApplication>

namespace Startup {

int run(QApplication& app)
{
    return app.exec();
}

} // namespace Startup
