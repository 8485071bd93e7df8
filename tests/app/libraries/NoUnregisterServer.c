/* A library without DllUnregisterServer: unregistering it must do nothing. */
int SkorrelTestSomethingElse(void)
{
    return 1;
}
