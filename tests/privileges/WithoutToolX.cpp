// A loadable library that is not the AuthorizationBundle: it has no ToolX.
extern "C" __attribute__((visibility("default"))) int NotToolX()
{
    return 0;
}
