// placeholder until the wrapper lands
namespace Bramwick { int placeholder_ = 0; }
