// Leaks the sanitized builds do not report. fontconfig keeps pieces of the
// configuration files it parses (once per process, a few hundred bytes) with
// nothing pointing at them; they are the library's, not ours, and freeing
// fontconfig at exit could pull its configuration from under the toolkit's
// drawing, which shares it.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif
