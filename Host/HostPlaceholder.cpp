namespace vt { namespace host { int placeholder() { return 0; } } }
