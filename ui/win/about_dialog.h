// The About box: the product's picture, version and its maker's addresses.
#pragma once

namespace astro {

// Modal, without owner; its title is text 34 in the current language.
void RunAboutDialog();

}  // namespace astro
