// A library built under the capture module's name that does not export its factory.

extern "C" __attribute__((visibility("default"))) int vocartaNotACaptureModule()
{
    return 1;
}
