// SPDX-License-Identifier: GPL-3.0-or-later
// Our pictures of assets/, bundled by Vite, each with the one drawn twice as fine for a screen of
// two device pixels to the CSS pixel.
import greeting from '../../../assets/greeting.jpg';
import greetingFine from '../../../assets/greeting@2x.jpg';
import greetingJa from '../../../assets/greeting-ja.jpg';
import greetingJaFine from '../../../assets/greeting-ja@2x.jpg';
import linkBracket from '../../../assets/link-bracket.jpg';
import linkBracketFine from '../../../assets/link-bracket@2x.jpg';
import symbolA from '../../../assets/symbol-a.jpg';
import symbolAFine from '../../../assets/symbol-a@2x.jpg';
import symbolBeta from '../../../assets/symbol-beta.jpg';
import symbolBetaFine from '../../../assets/symbol-beta@2x.jpg';
import symbolGamma from '../../../assets/symbol-gamma.jpg';
import symbolGammaFine from '../../../assets/symbol-gamma@2x.jpg';
import symbolLambdaRad from '../../../assets/symbol-lambda-rad.jpg';
import symbolLambdaRadFine from '../../../assets/symbol-lambda-rad@2x.jpg';
import symbolLambdaU from '../../../assets/symbol-lambda-u.jpg';
import symbolLambdaUFine from '../../../assets/symbol-lambda-u@2x.jpg';
import symbolPhi from '../../../assets/symbol-phi.jpg';
import symbolPhiFine from '../../../assets/symbol-phi@2x.jpg';
import undulatorOrbit from '../../../assets/undulator-orbit.jpg';
import undulatorOrbitFine from '../../../assets/undulator-orbit@2x.jpg';

const Pictures: Record<string, [string, string]> = {
  'greeting.jpg': [greeting, greetingFine],
  'greeting-ja.jpg': [greetingJa, greetingJaFine],
  'link-bracket.jpg': [linkBracket, linkBracketFine],
  'symbol-a.jpg': [symbolA, symbolAFine],
  'symbol-beta.jpg': [symbolBeta, symbolBetaFine],
  'symbol-gamma.jpg': [symbolGamma, symbolGammaFine],
  'symbol-lambda-rad.jpg': [symbolLambdaRad, symbolLambdaRadFine],
  'symbol-lambda-u.jpg': [symbolLambdaU, symbolLambdaUFine],
  'symbol-phi.jpg': [symbolPhi, symbolPhiFine],
  'undulator-orbit.jpg': [undulatorOrbit, undulatorOrbitFine],
};

/** A picture element showing the file named name (as in assets/) at width x height CSS pixels;
 * one whose file is not among ours stays empty, as the desktop leaves a missing picture's place. */
export function picture(name: string, width: number, height: number, alt: string): HTMLImageElement {
  const image = document.createElement('img');
  image.width = width;
  image.height = height;
  image.alt = alt;
  image.decoding = 'async';
  image.dataset.picture = name;
  const files = Pictures[name];
  if (files) {
    image.src = files[0];
    image.srcset = `${files[0]} 1x, ${files[1]} 2x`;
  }
  return image;
}

export function hasPicture(name: string): boolean {
  return name in Pictures;
}
