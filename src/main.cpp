#include "app/Startup.h"
#include "platform/FontConfigWarmUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    return Startup::run(app);
}
