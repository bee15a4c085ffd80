#include "ui/main/CostApp.h"

int main(int argc, char** argv)
{
    kalkora::ui::CCostApp app(argc, argv);
    return app.run();
}
